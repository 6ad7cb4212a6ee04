#include "AfxHandles.h"

#include "AfxWnd.h"

namespace {

struct ActCtxDeleter {
    using pointer = HANDLE;
    void operator()(HANDLE h) const noexcept {
        if (h != INVALID_HANDLE_VALUE)
            ::ReleaseActCtx(h);
    }
};
std::unique_ptr<void, ActCtxDeleter> g_actCtx{INVALID_HANDLE_VALUE};
bool g_bActCtxTried = false;

HANDLE ModuleActivationContext() {
    if (!g_bActCtxTried) {
        g_bActCtxTried = true;
        ACTCTXW ctx = {};
        ctx.cbSize = sizeof(ctx);
        ctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        ctx.hModule = AfxGetInstanceHandle();
        ctx.lpResourceName = MAKEINTRESOURCEW(2);
        wchar_t szPath[MAX_PATH] = {};
        ::GetModuleFileNameW(ctx.hModule, szPath, MAX_PATH);
        ctx.lpSource = szPath;
        g_actCtx.reset(::CreateActCtxW(&ctx));
    }
    return g_actCtx.get();
}

} // namespace

CActivationContextScope::CActivationContextScope() {
    HANDLE hCtx = ModuleActivationContext();
    if (hCtx != INVALID_HANDLE_VALUE)
        m_bActive = ::ActivateActCtx(hCtx, &m_ulCookie);
}
CActivationContextScope::~CActivationContextScope() {
    if (m_bActive)
        ::DeactivateActCtx(0, m_ulCookie);
}
