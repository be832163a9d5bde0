// The accessibility tree on Windows (see tree.hpp), served through UI
// Automation: the window answers WM_GETOBJECT with a provider for itself,
// whose children are a provider for each button (Invoke, and Toggle for a
// switch) or each of the game's texts, and which tells screen readers (NVDA,
// JAWS, Narrator) when the focus moves, a switch switches or a screen comes,
// and has them say announcements (UIA notification events). Screen readers
// call in on threads of their own: the providers read a copy of the tree
// under a lock, and a press reaches the game as an SDL event. UI Automation's
// library is loaded when the tree starts; without it, there is no tree.
// clang-format off
#include <windows.h>  // first: the others build on it
#include <ole2.h>
#include <uiautomationcore.h>
#include <uiautomationclient.h>
// MinGW's declarations name a parameter "new", which C++ reserves.
#define new new_value
#include <uiautomationcoreapi.h>
#undef new
// clang-format on
#include <SDL_syswm.h>

#include <string>
#include <vector>

#include "platform/tree.hpp"

namespace {

using hangman::Tree;
using hangman::TreeNode;

// UI Automation's numbers that MinGW's headers leave out.

constexpr PATTERNID invoke_pattern = 10000;  // UIA_InvokePatternId
constexpr PATTERNID toggle_pattern = 10015;  // UIA_TogglePatternId
constexpr long button_type = 50000;          // UIA_ButtonControlTypeId
constexpr long text_type = 50020;            // UIA_TextControlTypeId
constexpr EVENTID focus_changed = 20005;     // UIA_AutomationFocusChangedEventId
constexpr int notification_other = 4;        // NotificationKind_Other
constexpr int notification_all = 0;          // NotificationProcessing_ImportantAll
enum ToggleState { toggle_off = 0, toggle_on = 1 };

// Toggle and Invoke, as Windows' SDK declares them.
MIDL_INTERFACE("54fcb24b-e18e-47a2-b4d3-eccbe77599a2")
IInvokeProvider : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};
MIDL_INTERFACE("56d00bd0-c4f4-433c-a836-1a52a57e0892")
IToggleProvider : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Toggle() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ToggleState(ToggleState * state) = 0;
};
const IID invoke_iid = {
    0x54fcb24b, 0xe18e, 0x47a2, {0xb4, 0xd3, 0xec, 0xcb, 0xe7, 0x75, 0x99, 0xa2}};
const IID toggle_iid = {
    0x56d00bd0, 0xc4f4, 0x433c, {0xa8, 0x36, 0x1a, 0x52, 0xa5, 0x7e, 0x08, 0x92}};

// UI Automation's functions, from its library.
struct Uia {
    HMODULE library = nullptr;
    decltype(&UiaReturnRawElementProvider) return_provider = nullptr;
    decltype(&UiaHostProviderFromHwnd) host_provider = nullptr;
    decltype(&UiaRaiseAutomationEvent) raise_event = nullptr;
    decltype(&UiaRaiseAutomationPropertyChangedEvent) raise_property = nullptr;
    HRESULT(WINAPI* raise_notification)(IRawElementProviderSimple*, int, int, BSTR, BSTR) = nullptr;
};
Uia uia;

template <typename Function>
void load(Function& function, const char* name)
{
    function =
        reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(uia.library, name)));
}

bool load_uia()
{
    if (uia.library == nullptr) {
        uia.library = LoadLibraryW(L"uiautomationcore.dll");
        if (uia.library == nullptr) {
            return false;
        }
        load(uia.return_provider, "UiaReturnRawElementProvider");
        load(uia.host_provider, "UiaHostProviderFromHwnd");
        load(uia.raise_event, "UiaRaiseAutomationEvent");
        load(uia.raise_property, "UiaRaiseAutomationPropertyChangedEvent");
        load(uia.raise_notification, "UiaRaiseNotificationEvent");  // Windows 10 1709 on
    }
    return uia.return_provider != nullptr && uia.host_provider != nullptr &&
           uia.raise_event != nullptr;
}

std::wstring wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), size);
    result.resize(result.size() - 1);
    return result;
}

void set_text(VARIANT* value, const std::string& text)
{
    value->vt = VT_BSTR;
    value->bstrVal = SysAllocString(wide(text).c_str());
}

void set_bool(VARIANT* value, bool truth)
{
    value->vt = VT_BOOL;
    value->boolVal = truth ? VARIANT_TRUE : VARIANT_FALSE;
}

void set_int(VARIANT* value, long number)
{
    value->vt = VT_I4;
    value->lVal = number;
}

// What the providers read, from any thread, under the lock.
struct Shared {
    CRITICAL_SECTION lock;
    Tree tree;
    unsigned generation = 0;  // counts the screens: each has providers of its own
    HWND hwnd = nullptr;
    WNDPROC sdl_proc = nullptr;  // SDL's own window procedure, which handles the rest
    Uint32 press_event = 0;
    Shared() { InitializeCriticalSection(&lock); }
};
Shared shared;

class Locked {
public:
    Locked() { EnterCriticalSection(&shared.lock); }
    ~Locked() { LeaveCriticalSection(&shared.lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

// The window's area in the screen's pixels, as a rectangle of `points` in
// the window's points (the tree counts in points, Windows in pixels).
UiaRect on_screen(const SDL_Rect& points, const SDL_Rect& window)
{
    RECT client{};
    GetClientRect(shared.hwnd, &client);
    POINT corner = {0, 0};
    ClientToScreen(shared.hwnd, &corner);
    const double scale_x = window.w > 0 ? static_cast<double>(client.right) / window.w : 1.0;
    const double scale_y = window.h > 0 ? static_cast<double>(client.bottom) / window.h : 1.0;
    return {corner.x + points.x * scale_x, corner.y + points.y * scale_y, points.w * scale_x,
            points.h * scale_y};
}

class Root;
Root* root = nullptr;

// One provider, of the window (index -1) or of a node of one screen.
class Element : public IRawElementProviderSimple,
                public IRawElementProviderFragment,
                public IRawElementProviderFragmentRoot,
                public IInvokeProvider,
                public IToggleProvider {
public:
    Element(int index, unsigned generation) : index_(index), generation_(generation) {}
    virtual ~Element() = default;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IRawElementProviderSimple)) {
            *out = static_cast<IRawElementProviderSimple*>(this);
        } else if (iid == __uuidof(IRawElementProviderFragment)) {
            *out = static_cast<IRawElementProviderFragment*>(this);
        } else if (iid == __uuidof(IRawElementProviderFragmentRoot) && index_ < 0) {
            *out = static_cast<IRawElementProviderFragmentRoot*>(this);
        } else if (iid == invoke_iid && role() == TreeNode::Role::button) {
            *out = static_cast<IInvokeProvider*>(this);
        } else if (iid == toggle_iid && role() == TreeNode::Role::toggle) {
            *out = static_cast<IToggleProvider*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IRawElementProviderSimple
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override
    {
        *options = ProviderOptions_ServerSideProvider;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** out) override
    {
        *out = nullptr;
        Locked hold;
        if (!alive()) {
            return UIA_E_ELEMENTNOTAVAILABLE;
        }
        const bool has = (pattern == invoke_pattern && role() == TreeNode::Role::button) ||
                         (pattern == toggle_pattern && role() == TreeNode::Role::toggle);
        if (has) {
            *out = static_cast<IRawElementProviderSimple*>(this);
            AddRef();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** out) override
    {
        *out = nullptr;
        return index_ < 0 ? uia.host_provider(shared.hwnd, out) : S_OK;
    }

    // IRawElementProviderFragment
    HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction,
                                       IRawElementProviderFragment** out) override;
    HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** out) override
    {
        *out = nullptr;
        if (index_ < 0) {
            return S_OK;  // the window's own, from its host
        }
        const int id[] = {UiaAppendRuntimeId, static_cast<int>(generation_ * 100 + index_)};
        *out = SafeArrayCreateVector(VT_I4, 0, 2);
        for (LONG i = 0; i < 2; ++i) {
            SafeArrayPutElement(*out, &i, const_cast<int*>(&id[i]));
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* area) override
    {
        Locked hold;
        if (!alive()) {
            return UIA_E_ELEMENTNOTAVAILABLE;
        }
        const SDL_Rect& window = shared.tree.window;
        *area = index_ < 0 ? on_screen({0, 0, window.w, window.h}, window)
                           : on_screen(node().bounds, window);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** out) override
    {
        *out = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetFocus() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** out) override;

    // IRawElementProviderFragmentRoot (the window's)
    HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double x, double y,
                                                       IRawElementProviderFragment** out) override;
    HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** out) override;

    // IInvokeProvider and IToggleProvider: pressed as a click would, by the
    // game on its own thread.
    HRESULT STDMETHODCALLTYPE Invoke() override { return press(); }
    HRESULT STDMETHODCALLTYPE Toggle() override { return press(); }
    HRESULT STDMETHODCALLTYPE get_ToggleState(ToggleState* state) override
    {
        Locked hold;
        if (!alive()) {
            return UIA_E_ELEMENTNOTAVAILABLE;
        }
        *state = node().checked ? toggle_on : toggle_off;
        return S_OK;
    }

    int index() const { return index_; }

private:
    // True while this node is still on screen (the window always is).
    bool alive() const
    {
        return index_ < 0 || (generation_ == shared.generation &&
                              index_ < static_cast<int>(shared.tree.nodes.size()));
    }
    const TreeNode& node() const { return shared.tree.nodes[static_cast<size_t>(index_)]; }
    TreeNode::Role role() const
    {
        Locked hold;
        return index_ >= 0 && alive() ? node().role : TreeNode::Role::text;
    }
    HRESULT press()
    {
        Locked hold;
        if (!alive() || shared.press_event == 0) {
            return UIA_E_ELEMENTNOTAVAILABLE;
        }
        SDL_Event event{};
        event.type = shared.press_event;
        event.user.code = index_;
        return SDL_PushEvent(&event) == 1 ? S_OK : E_FAIL;
    }

    LONG references_ = 1;
    int index_;
    unsigned generation_;
};

class Root : public Element {
public:
    Root() : Element(-1, 0) {}
};

// A new provider of the node `index` of the screen now shown (under the lock).
Element* element(int index)
{
    if (index < 0) {
        root->AddRef();
        return root;
    }
    return new Element(index, shared.generation);
}

HRESULT Element::GetPropertyValue(PROPERTYID property, VARIANT* value)
{
    value->vt = VT_EMPTY;
    Locked hold;
    if (!alive()) {
        return UIA_E_ELEMENTNOTAVAILABLE;
    }
    const bool window = index_ < 0;
    const TreeNode* shown = window ? nullptr : &node();
    switch (property) {
        case UIA_NamePropertyId:
            set_text(value, window ? std::string("Hangman") : shown->name);
            break;
        case UIA_ControlTypePropertyId:
            if (!window) {
                set_int(value, shown->role == TreeNode::Role::text ? text_type : button_type);
            }
            break;
        case UIA_HelpTextPropertyId:
            if (!window && !shown->description.empty()) {
                set_text(value, shown->description);
            }
            break;
        case UIA_AutomationIdPropertyId:
            set_text(value,
                     window ? std::string("hangman") : shared.tree.screen + "." + shown->name);
            break;
        case UIA_FrameworkIdPropertyId:
            set_text(value, "chalk-hangman");
            break;
        case UIA_IsKeyboardFocusablePropertyId:
            set_bool(value, !window);
            break;
        case UIA_HasKeyboardFocusPropertyId:
            set_bool(value, !window && shared.tree.active && shared.tree.focused == index_);
            break;
        case UIA_IsEnabledPropertyId:
        case UIA_IsControlElementPropertyId:
        case UIA_IsContentElementPropertyId:
            set_bool(value, true);
            break;
        case UIA_ToggleToggleStatePropertyId:
            if (!window && shown->role == TreeNode::Role::toggle) {
                set_int(value, shown->checked ? toggle_on : toggle_off);
            }
            break;
        default:
            break;
    }
    return S_OK;
}

HRESULT Element::Navigate(NavigateDirection direction, IRawElementProviderFragment** out)
{
    *out = nullptr;
    Locked hold;
    if (!alive()) {
        return UIA_E_ELEMENTNOTAVAILABLE;
    }
    const int count = static_cast<int>(shared.tree.nodes.size());
    int to = -2;  // none
    if (index_ < 0) {
        to = direction == NavigateDirection_FirstChild  ? 0
             : direction == NavigateDirection_LastChild ? count - 1
                                                        : -2;
        to = to >= count ? -2 : to;
    } else if (direction == NavigateDirection_Parent) {
        to = -1;
    } else if (direction == NavigateDirection_NextSibling && index_ + 1 < count) {
        to = index_ + 1;
    } else if (direction == NavigateDirection_PreviousSibling && index_ > 0) {
        to = index_ - 1;
    }
    if (to >= -1) {
        *out = element(to);
    }
    return S_OK;
}

HRESULT Element::get_FragmentRoot(IRawElementProviderFragmentRoot** out)
{
    root->AddRef();
    *out = root;
    return S_OK;
}

HRESULT Element::ElementProviderFromPoint(double x, double y, IRawElementProviderFragment** out)
{
    *out = nullptr;
    Locked hold;
    for (size_t i = 0; i < shared.tree.nodes.size(); ++i) {
        const UiaRect area = on_screen(shared.tree.nodes[i].bounds, shared.tree.window);
        if (x >= area.left && y >= area.top && x < area.left + area.width &&
            y < area.top + area.height) {
            *out = element(static_cast<int>(i));
            return S_OK;
        }
    }
    *out = element(-1);
    return S_OK;
}

HRESULT Element::GetFocus(IRawElementProviderFragment** out)
{
    Locked hold;
    *out = shared.tree.focused >= 0 ? element(shared.tree.focused) : nullptr;
    return S_OK;
}

// The window's procedure: a screen reader's question for the window's
// provider is answered here, everything else by SDL's.
LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_GETOBJECT && static_cast<long>(l) == UiaRootObjectId && root != nullptr) {
        return uia.return_provider(hwnd, w, l, root);
    }
    return CallWindowProcW(shared.sdl_proc, hwnd, message, w, l);
}

}  // namespace

namespace hangman {

bool platform_tree_start(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (root != nullptr || window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_WINDOWS || !load_uia()) {
        return root != nullptr;
    }
    if (shared.press_event == 0) {
        shared.press_event = SDL_RegisterEvents(1);
        shared.press_event = shared.press_event == static_cast<Uint32>(-1) ? 0 : shared.press_event;
    }
    root = new Root;
    shared.hwnd = info.info.win.window;
    shared.sdl_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(shared.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(window_procedure)));
    return true;
}

void platform_tree_show(const Tree& tree)
{
    if (root == nullptr) {
        return;
    }
    Tree before;
    bool new_screen = false;
    {
        Locked hold;
        before = shared.tree;
        new_screen = before.screen != tree.screen || before.nodes.size() != tree.nodes.size();
        shared.generation += new_screen ? 1 : 0;
        shared.tree = tree;
    }
    // A new screen is told by the focus on its first element: its providers
    // are new, and the old ones say they are gone.
    for (size_t i = 0; !new_screen && i < tree.nodes.size(); ++i) {
        if (tree.nodes[i].checked != before.nodes[i].checked && uia.raise_property != nullptr) {
            Element* changed = element(static_cast<int>(i));
            VARIANT was{};
            VARIANT now{};
            set_int(&was, before.nodes[i].checked ? toggle_on : toggle_off);
            set_int(&now, tree.nodes[i].checked ? toggle_on : toggle_off);
            uia.raise_property(changed, UIA_ToggleToggleStatePropertyId, was, now);
            changed->Release();
        }
    }
    const bool focus_moved =
        new_screen || tree.focused != before.focused || (tree.active && !before.active);
    if (tree.active && tree.focused >= 0 && focus_moved) {
        Element* focused = element(tree.focused);
        uia.raise_event(focused, focus_changed);
        focused->Release();
    }
}

void platform_tree_announce(const std::string& text)
{
    if (root == nullptr || uia.raise_notification == nullptr) {
        return;
    }
    BSTR said = SysAllocString(wide(text).c_str());
    BSTR kind = SysAllocString(L"hangman");
    uia.raise_notification(root, notification_other, notification_all, said, kind);
    SysFreeString(kind);
    SysFreeString(said);
}

bool platform_tree_served()
{
    return root != nullptr;
}

Uint32 platform_tree_press_event()
{
    return root != nullptr ? shared.press_event : 0;
}

void platform_tree_stop()
{
    if (root == nullptr) {
        return;
    }
    // Screen readers let the window's providers go (and never call again).
    SetWindowLongPtrW(shared.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(shared.sdl_proc));
    if (uia.return_provider != nullptr) {
        uia.return_provider(shared.hwnd, 0, 0, nullptr);
    }
    root->Release();
    root = nullptr;
}

}  // namespace hangman
