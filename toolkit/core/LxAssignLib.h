#pragma once
// LxAssignLib: the process-wide path assigns, short names at the front of a resource string that
// stand for a longer prefix ("lxgui:shadow.png" -> "dll:///theme/gui/shadow.png"). The default
// assigns ("home", "bin", "root", "lxgui") are installed by the application or by the first
// resolve. UI thread only.

#include "LxContainers.h"
#include "LxRttiObject.h"

class LxAssignLib : public LxRttiObject {
    LX_DECLARE_CLASS(LxAssignLib)

public:
    static LxAssignLib* instance();

    // Adds the assign or replaces the value of an existing one.
    void addAssign(const LxString& name, const LxString& value);
    LxString assign(const LxString& name) const { return m_assigns.value(name); }
    bool hasAssign(const LxString& name) const { return m_assigns.contains(name); }
    // Replaces leading assigns (repeatedly), turns '\' into '/' and drops trailing '/'.
    LxString resolve(const LxString& text);
    // Adds the default assigns unless they are installed.
    void installDefaults();
    // Removes every assign and clears the defaults-installed flag.
    void reset();

    // The "home" rule: the program's folder, or its parent when the folder's name starts like a
    // build folder ("Win32", "Debug", "Release", compared case-insensitively over its first five
    // characters). Takes and returns a '/'-separated path without trailing '/'.
    static LxString homeFolder(const LxString& programFolder);

private:
    LxMap<LxString, LxString> m_assigns;
    bool m_defaultsInstalled = false;
};
