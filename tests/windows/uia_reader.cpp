// A UI Automation client, as a screen reader is one: finds the window titled
// "SDL Tutorial" and prints what UI Automation's own client functions read
// of it from another process, one line each: the window's name, then each
// element within, as "<control type> <name>" with " (focused)" where it has
// the keyboard's focus. Run under Wine by tests/windows/smoke.sh.
//
//   uia_reader.exe
#include <ole2.h>
#include <oleauto.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

typedef void* Node;  // HUIANODE
struct Condition {
    int type;  // ConditionType_True
};
struct CacheRequest {
    Condition* view;
    int scope;  // TreeScope_Element
    int* properties;
    int property_count;
    int* patterns;
    int pattern_count;
    int mode;  // AutomationElementMode_Full
};
struct FindParams {
    int max_depth;
    BOOL find_first;
    BOOL exclude_root;
    Condition* condition;
};

constexpr int name_property = 30005;          // UIA_NamePropertyId
constexpr int control_type_property = 30003;  // UIA_ControlTypePropertyId
constexpr int focused_property = 30008;       // UIA_HasKeyboardFocusPropertyId

HRESULT(WINAPI* node_from_handle)(HWND, Node*);
HRESULT(WINAPI* property_value)(Node, int, VARIANT*);
HRESULT(WINAPI* find)(Node, FindParams*, CacheRequest*, SAFEARRAY**, SAFEARRAY**, SAFEARRAY**);
HRESULT(WINAPI* node_from_variant)(VARIANT*, Node*);
BOOL(WINAPI* release)(Node);

template <typename Function>
bool load(HMODULE library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

std::string text_of(Node node, int property)
{
    VARIANT value;
    VariantInit(&value);
    std::string text;
    if (SUCCEEDED(property_value(node, property, &value)) && value.vt == VT_BSTR) {
        char buffer[512] = {};
        WideCharToMultiByte(CP_UTF8, 0, value.bstrVal, -1, buffer, sizeof buffer - 1, nullptr,
                            nullptr);
        text = buffer;
    }
    VariantClear(&value);
    return text;
}

long number_of(Node node, int property)
{
    VARIANT value;
    VariantInit(&value);
    long number = -1;
    if (SUCCEEDED(property_value(node, property, &value))) {
        number = value.vt == VT_I4 ? value.lVal : value.vt == VT_BOOL ? value.boolVal != 0 : -1;
    }
    VariantClear(&value);
    return number;
}

const char* type_name(long type)
{
    switch (type) {
        case 50000:
            return "button";
        case 50020:
            return "text";
        case 50032:
            return "window";
        default:
            return "other";
    }
}

}  // namespace

int main()
{
    HMODULE library = LoadLibraryW(L"uiautomationcore.dll");
    if (library == nullptr || !load(library, node_from_handle, "UiaNodeFromHandle") ||
        !load(library, property_value, "UiaGetPropertyValue") || !load(library, find, "UiaFind") ||
        !load(library, node_from_variant, "UiaHUiaNodeFromVariant") ||
        !load(library, release, "UiaNodeRelease")) {
        std::printf("no UI Automation client functions\n");
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HWND window = FindWindowW(nullptr, L"SDL Tutorial");
    Node root = nullptr;
    if (window == nullptr || FAILED(node_from_handle(window, &root))) {
        std::printf("no window, or no node for it\n");
        return 1;
    }
    std::printf("window %s\n", text_of(root, name_property).c_str());
    Condition every = {0};
    CacheRequest request = {&every, 1, nullptr, 0, nullptr, 0, 1};
    FindParams params = {1, FALSE, TRUE, &every};
    SAFEARRAY* data = nullptr;
    SAFEARRAY* offsets = nullptr;
    SAFEARRAY* trees = nullptr;
    const HRESULT found = find(root, &params, &request, &data, &offsets, &trees);
    if (FAILED(found) || data == nullptr) {
        std::printf("finding the window's elements failed: 0x%08lx\n", found);
        return 1;
    }
    LONG low[2] = {0, 0};
    LONG high[2] = {0, 0};
    SafeArrayGetLBound(data, 1, &low[0]);
    SafeArrayGetUBound(data, 1, &high[0]);
    for (LONG i = low[0]; i <= high[0]; ++i) {
        LONG at[2] = {i, 0};
        VARIANT cell;
        VariantInit(&cell);
        Node node = nullptr;
        if (SUCCEEDED(SafeArrayGetElement(data, at, &cell)) &&
            SUCCEEDED(node_from_variant(&cell, &node))) {
            std::printf("%s %s%s\n", type_name(number_of(node, control_type_property)),
                        text_of(node, name_property).c_str(),
                        number_of(node, focused_property) == 1 ? " (focused)" : "");
            release(node);
        }
        VariantClear(&cell);
    }
    release(root);
    return 0;
}
