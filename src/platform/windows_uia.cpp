// The accessibility tree on Windows (see tree.hpp): not served yet.
#include "platform/tree.hpp"

namespace hangman {

bool platform_tree_start(SDL_Window*)
{
    return false;
}
void platform_tree_show(const Tree&) {}
void platform_tree_announce(const std::string&) {}
bool platform_tree_served()
{
    return false;
}
Uint32 platform_tree_press_event()
{
    return 0;
}
void platform_tree_stop() {}

}  // namespace hangman
