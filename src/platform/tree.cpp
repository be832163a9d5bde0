// What every platform's tree shares (see tree.hpp).
#include "platform/tree.hpp"

namespace hangman {

bool TreeNode::operator==(const TreeNode& other) const
{
    return role == other.role && name == other.name && description == other.description &&
           checked == other.checked && SDL_RectEquals(&bounds, &other.bounds);
}

bool Tree::operator==(const Tree& other) const
{
    return screen == other.screen && nodes == other.nodes && focused == other.focused &&
           active == other.active && SDL_RectEquals(&window, &other.window);
}

}  // namespace hangman
