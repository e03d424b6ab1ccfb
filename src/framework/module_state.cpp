#include "framework/module_state.h"

#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

ModuleState* g_module = nullptr;

}  // namespace

HRESULT InitModule(ModuleState* state, HINSTANCE instance) {
    if (!state) {
        return E_INVALIDARG;
    }
    state->instance = instance;
    state->creationList = nullptr;
    g_module = state;
    return S_OK;
}

ModuleState* CurrentModule() {
    return g_module;
}

}  // namespace qv
