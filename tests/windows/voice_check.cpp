// The game's own voice on Windows against a stand-in for SAPI's voice
// (Wine's says nothing and keeps nothing): registered in this process for
// SAPI's class, it receives what the game's platform code speaks. Each text
// must be spoken asynchronously, cutting short the one before it, as plain
// text, and the voice must be let go at the end. Run under Wine by
// tests/windows/smoke.sh, beside the game's libraries.
//
//   voice_check.exe
#define SDL_MAIN_HANDLED
// clang-format off
#include <windows.h>  // first: the others build on it
#include <sapi.h>
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.hpp"

namespace {

struct Said {
    std::wstring text;
    DWORD flags;
};
std::vector<Said> said;
LONG voices_alive = 0;

#define NOT_HERE(signature)                      \
    HRESULT STDMETHODCALLTYPE signature override \
    {                                            \
        return E_NOTIMPL;                        \
    }

class StandInVoice : public ISpVoice {
public:
    StandInVoice() { InterlockedIncrement(&voices_alive); }
    virtual ~StandInVoice() { InterlockedDecrement(&voices_alive); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(ISpVoice)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
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
    HRESULT STDMETHODCALLTYPE Speak(LPCWSTR text, DWORD flags, ULONG* number) override
    {
        said.push_back({text, flags});
        if (number != nullptr) {
            *number = static_cast<ULONG>(said.size());
        }
        return S_OK;
    }
    NOT_HERE(SetNotifySink(ISpNotifySink*))
    NOT_HERE(SetNotifyWindowMessage(HWND, UINT, WPARAM, LPARAM))
    NOT_HERE(SetNotifyCallbackFunction(SPNOTIFYCALLBACK*, WPARAM, LPARAM))
    NOT_HERE(SetNotifyCallbackInterface(ISpNotifyCallback*, WPARAM, LPARAM))
    NOT_HERE(SetNotifyWin32Event())
    NOT_HERE(WaitForNotifyEvent(DWORD))
    HANDLE STDMETHODCALLTYPE GetNotifyEventHandle() override { return nullptr; }
    NOT_HERE(SetInterest(ULONGLONG, ULONGLONG))
    NOT_HERE(GetEvents(ULONG, SPEVENT*, ULONG*))
    NOT_HERE(GetInfo(SPEVENTSOURCEINFO*))
    NOT_HERE(SetOutput(IUnknown*, WINBOOL))
    NOT_HERE(GetOutputObjectToken(ISpObjectToken**))
    NOT_HERE(GetOutputStream(ISpStreamFormat**))
    NOT_HERE(Pause())
    NOT_HERE(Resume())
    NOT_HERE(SetVoice(ISpObjectToken*))
    NOT_HERE(GetVoice(ISpObjectToken**))
    NOT_HERE(SpeakStream(IStream*, DWORD, ULONG*))
    NOT_HERE(GetStatus(SPVOICESTATUS*, LPWSTR*))
    NOT_HERE(Skip(LPCWSTR, LONG, ULONG*))
    NOT_HERE(SetPriority(SPVPRIORITY))
    NOT_HERE(GetPriority(SPVPRIORITY*))
    NOT_HERE(SetAlertBoundary(SPEVENTENUM))
    NOT_HERE(GetAlertBoundary(SPEVENTENUM*))
    NOT_HERE(SetRate(LONG))
    NOT_HERE(GetRate(LONG*))
    NOT_HERE(SetVolume(USHORT))
    NOT_HERE(GetVolume(USHORT*))
    NOT_HERE(WaitUntilDone(ULONG))
    NOT_HERE(SetSyncSpeakTimeout(ULONG))
    NOT_HERE(GetSyncSpeakTimeout(ULONG*))
    HANDLE STDMETHODCALLTYPE SpeakCompleteEvent() override { return nullptr; }
    NOT_HERE(IsUISupported(LPCWSTR, void*, ULONG, WINBOOL*))
    NOT_HERE(DisplayUI(HWND, LPCWSTR, LPCWSTR, void*, ULONG))

private:
    LONG references_ = 1;
};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IClassFactory)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* voice = new StandInVoice;
        const HRESULT result = voice->QueryInterface(iid, out);
        voice->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

bool fail(const char* what)
{
    std::printf("FAIL: %s\n", what);
    return false;
}

bool check()
{
    const DWORD wanted = SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML;
    if (said.size() != 2 || said[0].text != L"One." || said[1].text != L"Two.") {
        return fail("the stand-in did not hear \"One.\" then \"Two.\"");
    }
    for (const Said& text : said) {
        if ((text.flags & wanted) != wanted) {
            return fail("a text was not spoken asynchronously, cutting short the last, as text");
        }
    }
    return voices_alive == 0 || fail("the voice was not let go");
}

}  // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    Factory factory;
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(__uuidof(SpVoice), &factory, CLSCTX_INPROC_SERVER,
                                     REGCLS_MULTIPLEUSE, &cookie))) {
        std::printf("FAIL: the stand-in voice could not be registered\n");
        return 1;
    }
    hangman::platform_voice_say("One.");
    hangman::platform_voice_say("Two.");
    hangman::platform_voice_close();
    CoRevokeClassObject(cookie);
    if (!check()) {
        return 1;
    }
    std::printf("voice: each text spoken asynchronously, cutting short the one before; let go\n");
    return 0;
}
