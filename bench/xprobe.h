// Watches the real program on an X display: when its window first shows a
// given picture, how long a key takes to change it, and how much memory the
// process used at most. Frames are found by their pixels: the display's
// damage reports say when something was drawn, and the window's pixels are
// compared with a reference picture of the frame wanted.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

class XProbe {
public:
    using Picture = std::vector<unsigned char>;

    XProbe();
    ~XProbe();
    XProbe(const XProbe&) = delete;
    XProbe& operator=(const XProbe&) = delete;

    bool IsOpen() const { return m_pDisplay != nullptr; }

    // Starts the program; the clock of the next wait starts here.
    void Start(const std::vector<std::string>& argv);
    // Milliseconds from the start (or the last key) to the first frame that
    // shows picture; negative after timeoutMs without it.
    double WaitFor(const Picture& picture, double timeoutMs);
    // The same for the first frame whose text agrees with picture: the
    // band from a tenth to three fifths of the window's height and the
    // left three fifths of its width, away from the bars, the scroll bars
    // and the status text, which a file still loading shows otherwise.
    double WaitForText(const Picture& picture, double timeoutMs);
    // Whether the window shows picture now.
    bool Shows(const Picture& picture) { return Capture() == picture; }
    // What the window shows once nothing has changed for quietMs: the
    // reference for later runs.
    Picture WaitUntilQuiet(double quietMs, double timeoutMs);
    // Presses and releases a key (with Ctrl when asked); restarts the clock.
    void PressKey(const char* keysym, bool control);
    // Ends the program; its peak resident memory in KiB.
    long Finish();
    // Saves what the window shows now as a PNG-less portable pixmap.
    bool SavePicture(const Picture& picture, const std::string& path) const;

private:
    Picture Capture();
    void TrackWindow();
    // Waits for the next damage report, at most ms; false on timeout.
    bool NextDamage(double ms);

    _XDisplay* m_pDisplay = nullptr;
    unsigned long m_root = 0;
    unsigned long m_damage = 0;
    int m_nDamageEvent = 0;
    int m_x = 0, m_y = 0, m_width = 0, m_height = 0;
    pid_t m_pid = -1;
    double m_start = 0;
};

double NowMs();
