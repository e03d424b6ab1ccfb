#include "framework/window_class_record.h"

#include <cstdint>
#include <cstdio>

#include "framework/window_binding.h"
#include "platform/gdi/gdi_types.h"
#include "platform/user/api/cursor.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

WindowClassRecord MakeRecord(const char16_t* name) {
    WindowClassRecord record;
    record.attributes.style = CS_HREDRAW | CS_VREDRAW;
    record.attributes.lpfnWndProc = FirstWindowMessage;
    record.attributes.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    record.attributes.lpszClassName = name;
    return record;
}

// The record's class is registered in the window system now running; a system made anew (each
// test makes one) has not seen it.
bool StillRegistered(const WindowClassRecord& record) {
    WNDCLASSW found;
    return GetClassInfoW(record.attributes.hInstance, record.atom, &found) == record.atom &&
           found.lpszClassName &&
           std::u16string_view(found.lpszClassName) == record.attributes.lpszClassName;
}

}  // namespace

WindowClassRecord& MainWindowClassRecord() {
    static WindowClassRecord record = MakeRecord(u"QuorvaneWnd");
    return record;
}

WindowClassRecord& DefaultWindowClassRecord() {
    static WindowClassRecord record = MakeRecord(nullptr);
    return record;
}

ATOM RegisterWindowClassRecord(ModuleState& module, WindowClassRecord& record,
                               WNDPROC& superProcedure) {
    if (record.atom == 0 || !StillRegistered(record)) {
        std::lock_guard lock(module.creationLock);
        if (record.atom == 0 || !StillRegistered(record)) {
            record.atom = 0;
            if (!record.deriveFrom.empty()) {
                WNDCLASSW found;
                if (GetClassInfoW(nullptr, record.deriveFrom, &found) == 0 &&
                    GetClassInfoW(module.instance, record.deriveFrom, &found) == 0) {
                    return 0;
                }
                const char16_t* ownName = record.attributes.lpszClassName;
                const WNDPROC ownProcedure = record.attributes.lpfnWndProc;
                record.attributes = found;
                record.deriveFromProcedure = found.lpfnWndProc;
                record.attributes.lpszClassName = ownName;
                record.attributes.lpfnWndProc = ownProcedure;
            } else {
                record.attributes.hCursor =
                    LoadCursorW(record.systemCursor ? nullptr : module.instance, record.cursorId);
            }
            record.attributes.hInstance = module.instance;
            record.attributes.style &= ~CS_GLOBALCLASS;
            if (!record.attributes.lpszClassName) {
                // The whole address, so that no two records share a name.
                char name[32];
                std::snprintf(
                    name, sizeof(name), "ATL:%8.8llX",
                    static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&record)));
                record.generatedName.assign(name, name + std::char_traits<char>::length(name));
                record.attributes.lpszClassName = record.generatedName.c_str();
            }
            ATOM atom = GetClassInfoW(record.attributes.hInstance, record.attributes.lpszClassName,
                                      nullptr);
            if (atom == 0) {
                atom = RegisterClassW(&record.attributes);
            }
            record.atom = atom;
        }
    }
    if (!record.deriveFrom.empty()) {
        superProcedure = record.deriveFromProcedure;
    }
    return record.atom;
}

}  // namespace qv
