/*
 * Modal dialogs under test: the dialog runs in DialogBoxParamA on a thread
 * of its own; the test drives it through messages from its thread and
 * answers the message boxes the dialog shows by finding and pressing them.
 */
#ifndef MODAL_HARNESS_H
#define MODAL_HARNESS_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "wltest.h"

class ModalDialog {
public:
    /* prepare runs on the dialog's thread before it opens (for instance to
     * set that thread's keyboard state). */
    ModalDialog(HINSTANCE resources, int dialogId, DLGPROC proc, void *lParam,
                std::function<void()> prepare = nullptr);
    /* Any modal window that open() shows on the thread (a property sheet,
     * say); target picks the window the controls are looked up in (for a
     * sheet: its page), from the first dialog window the thread shows. */
    ModalDialog(std::function<INT_PTR()> open, std::function<HWND(HWND)> target);
    /* A dialog that the dialog of owner opened on the same thread. */
    ModalDialog(const ModalDialog &owner, HWND dlg);
    ~ModalDialog();
    /* The top-level window (the sheet of a page). */
    HWND root() const { return GetAncestor(dlg_, GA_ROOT); }
    /* A message box or dialog that this one opened, or NULL. */
    HWND popup() const { return FindBox(); }
    HWND dlg() const { return dlg_; }
    HWND item(int id) const { return GetDlgItem(dlg_, id); }

    /* Runs act on a helper thread and returns when it has finished or the
     * dialog's thread shows a message box (act then finishes once the box
     * is answered). */
    void run(std::function<void()> act);
    /* Controls as a person would use them. */
    void setText(int id, const std::string &text);
    void type(int id, const std::string &text); /* key down and character each */
    void select(int id, int index);
    void selectText(int id, const std::string &text);
    void click(int id);

    /* The message box being shown: false when there is none. */
    bool box(std::string *text = nullptr, std::string *caption = nullptr) const;
    /* Presses button (IDOK, IDYES, IDNO) of the box; then as run. */
    void answer(int button);
    /* Whether the dialog has ended, and its result. */
    bool ended(INT_PTR *result = nullptr);

    std::vector<std::string> entries(int id) const;
    int selection(int id) const;
    std::string selectedText(int id) const;
    std::string text(int id) const;
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != 0; }
    bool visible(int id) const { return (GetWindowLongA(item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool screenshot(const std::string &name) const;

private:
    static DWORD WINAPI DialogThread(void *self);
    static DWORD WINAPI ActThread(void *self);
    HWND FindBox() const;
    void Settle();

    HINSTANCE res_ = NULL;
    int id_ = 0;
    DLGPROC proc_ = NULL;
    void *lParam_ = NULL;
    std::function<INT_PTR()> open_;
    bool view_ = false;
    std::function<void()> prepare_, act_;
    HANDLE thread_ = NULL, actThread_ = NULL;
    DWORD tid_ = 0;
    HWND dlg_ = NULL;
    INT_PTR result_ = -1;
};

#endif
