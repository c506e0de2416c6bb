#pragma once

class CCmdUI;

// What a command message asks of a target: run the command, fill its state, or only tell whether
// it has a handler for it (without running it).
enum class CmdMsg { kCommand, kUpdateCommandUI, kFindHandler };

// An object that receives commands. Each class lists its own commands in one declarative table
// (see CommandMap.h) and looks it up in HandleOwnCommand before its base class's table; the
// classes that pass commands on to other objects (views to their document, frames to their view,
// the main frame to the active child and to the application) do so in OnCmdMsg.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // True when this target or one it passes the message to handled it. `ui` is used only by
    // kUpdateCommandUI. After a handler has run nothing of the route is touched again, so a
    // handler may close the window or the document it belongs to.
    virtual bool OnCmdMsg(unsigned id, CmdMsg kind, CCmdUI* ui) { return HandleOwnCommand(id, kind, ui); }

protected:
    // The commands of this object's class and of its bases, and nothing else.
    virtual bool HandleOwnCommand(unsigned /*id*/, CmdMsg /*kind*/, CCmdUI* /*ui*/) { return false; }
};
