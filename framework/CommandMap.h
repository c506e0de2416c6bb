#pragma once

#include "framework/CmdTarget.h"
#include "framework/CmdUI.h"

#include <cstddef>

// One line of a class's command table: the command id, the handler that runs it and the handler
// that gives its state; either handler may be null.
//
// A class keeps its table as a private static array defined in its source file, and overrides
// HandleOwnCommand to look it up before its base class:
//
//     const CommandEntry<CTableauDoc> CTableauDoc::kCommandMap[] = {
//         {32788, &CTableauDoc::OnEditionPresentation, nullptr},
//         {32875, &CTableauDoc::OnEnvoyerVersAcp, &CTableauDoc::OnUpdateEnvoyerVersAcp},
//     };
//     bool CTableauDoc::HandleOwnCommand(unsigned id, CmdMsg kind, CCmdUI* ui) {
//         return DispatchCommandMap(*this, kCommandMap, id, kind, ui) ||
//                CDocument::HandleOwnCommand(id, kind, ui);
//     }
template <class T> struct CommandEntry {
    unsigned id;
    void (T::*onCommand)();
    void (T::*onUpdate)(CCmdUI&);
};

// Runs or asks the first line of the table that answers the message. Returns at once after a
// handler ran: the handler may have destroyed `target`.
template <class T, std::size_t N>
bool DispatchCommandMap(T& target, const CommandEntry<T> (&map)[N], unsigned id, CmdMsg kind, CCmdUI* ui) {
    for (const CommandEntry<T>& entry : map) {
        if (entry.id != id)
            continue;
        switch (kind) {
        case CmdMsg::kCommand:
            if (entry.onCommand != nullptr) {
                (target.*entry.onCommand)();
                return true;
            }
            break;
        case CmdMsg::kUpdateCommandUI:
            if (entry.onUpdate != nullptr && ui != nullptr) {
                (target.*entry.onUpdate)(*ui);
                return true;
            }
            break;
        case CmdMsg::kFindHandler:
            if (entry.onCommand != nullptr)
                return true;
            break;
        }
    }
    return false;
}
