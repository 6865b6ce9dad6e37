#pragma once
// Answers the message boxes and dialogs that code under test opens on this
// thread. A thread timer keeps firing inside the modal loop of the box, finds
// the box and ends it the way a user would, and records what the box said.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Captions and texts are UTF-8, whatever the code page.
struct SeenBox {
    std::string caption;
    std::string text;  // the message text of a message box; empty for other dialogs
    UINT icon = 0;     // MB_ICONWARNING etc. when it could be told, else 0
};

// The first line of a box's text: the command's own result, before any
// list of what a run did not change.
inline std::string FirstLine(const std::string &text)
{
    return text.substr(0, text.find('\n'));
}

class ModalAnswerer {
public:
    // Answers every message box with the next of the given command ids (IDYES,
    // IDNO, IDOK...); the last one repeats.
    explicit ModalAnswerer(std::vector<int> answers);
    // Hands every dialog (message box or not) to the callback, which must end it.
    explicit ModalAnswerer(std::function<void(HWND dialog)> handler);
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer &) = delete;
    ModalAnswerer &operator=(const ModalAnswerer &) = delete;

    const std::vector<SeenBox> &Seen() const { return seen_; }
    // Captions and texts joined, for readable test failures.
    std::string Describe() const;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Handle(HWND dialog);

    std::vector<int> answers_;
    std::function<void(HWND)> handler_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> handled_;
    UINT_PTR timer_ = 0;
};

// Reads the message text of a message box.
std::string MessageBoxText(HWND box);
