/* Modal dialogs under test (see modal_harness.h). */
#include "modal_harness.h"

#include "page_harness.h"

#include <stdio.h>

namespace {

/* Opening waits longer: a loaded machine can take seconds to show one. */
const DWORD kStepMs = 10, kLimitMs = 30000, kOpenMs = 30000;

struct Found {
    HWND owner, hit;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM lp)
{
    Found *f = reinterpret_cast<Found *>(lp);
    char cls[32] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
    if (f->owner == NULL || (w != f->owner && GetWindow(w, GW_OWNER) == f->owner)) {
        f->hit = w;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ModalDialog::ModalDialog(HINSTANCE resources, int dialogId, DLGPROC proc, void *lParam,
                         std::function<void()> prepare)
    : res_(resources), id_(dialogId), proc_(proc), lParam_(lParam), prepare_(prepare)
{
    thread_ = CreateThread(NULL, 0, DialogThread, this, 0, &tid_);
    for (DWORD t = 0; t < kOpenMs && !dlg_; t += kStepMs) {
        if (WaitForSingleObject(thread_, kStepMs) == WAIT_OBJECT_0) break;
        Found f = {NULL, NULL};
        EnumThreadWindows(tid_, FindDialog, reinterpret_cast<LPARAM>(&f));
        dlg_ = f.hit;
    }
    EXPECT_TRUE(dlg_ != NULL) << "dialog " << dialogId << " did not open";
}

ModalDialog::ModalDialog(std::function<INT_PTR()> open, std::function<HWND(HWND)> target) : open_(open)
{
    thread_ = CreateThread(NULL, 0, DialogThread, this, 0, &tid_);
    HWND top = NULL;
    for (DWORD t = 0; t < kOpenMs && !top; t += kStepMs) {
        if (WaitForSingleObject(thread_, kStepMs) == WAIT_OBJECT_0) break;
        Found f = {NULL, NULL};
        EnumThreadWindows(tid_, FindDialog, reinterpret_cast<LPARAM>(&f));
        top = f.hit;
    }
    EXPECT_TRUE(top != NULL) << "the window did not open";
    dlg_ = top && target ? target(top) : top;
}

ModalDialog::ModalDialog(const ModalDialog &owner, HWND dlg) : view_(true)
{
    tid_ = owner.tid_;
    dlg_ = dlg;
    EXPECT_TRUE(dlg_ != NULL) << "no dialog to drive";
}

ModalDialog::~ModalDialog()
{
    if (view_) {
        for (int i = 0; i < 5 && dlg_ && IsWindow(dlg_); i++) {
            if (box())
                answer(IDOK);
            else
                PostMessageA(dlg_, WM_COMMAND, IDCANCEL, 0);
            for (DWORD t = 0; t < 2000 && IsWindow(dlg_); t += kStepMs) Sleep(kStepMs);
        }
        if (actThread_) {
            WaitForSingleObject(actThread_, kLimitMs);
            CloseHandle(actThread_);
        }
        return;
    }
    for (int i = 0; i < 5 && !ended(); i++) {
        if (box())
            answer(IDOK);
        else
            PostMessageA(root(), WM_COMMAND, IDCANCEL, 0);
        WaitForSingleObject(thread_, 2000);
    }
    if (actThread_) {
        WaitForSingleObject(actThread_, kLimitMs);
        CloseHandle(actThread_);
    }
    WaitForSingleObject(thread_, kLimitMs);
    CloseHandle(thread_);
}

DWORD WINAPI ModalDialog::DialogThread(void *self)
{
    ModalDialog *m = static_cast<ModalDialog *>(self);
    if (m->prepare_) m->prepare_();
    if (m->open_) {
        m->result_ = m->open_();
        return 0;
    }
    m->result_ = DialogBoxParamA(m->res_, MAKEINTRESOURCEA(m->id_), NULL, m->proc_,
                                 reinterpret_cast<LPARAM>(m->lParam_));
    return 0;
}

DWORD WINAPI ModalDialog::ActThread(void *self)
{
    static_cast<ModalDialog *>(self)->act_();
    return 0;
}

HWND ModalDialog::FindBox() const
{
    if (!dlg_ || !IsWindow(dlg_)) return NULL;
    /* Windows own their dialogs and boxes through the top-level window. */
    Found f = {GetAncestor(dlg_, GA_ROOT), NULL};
    EnumThreadWindows(tid_, FindDialog, reinterpret_cast<LPARAM>(&f));
    return f.hit;
}

/* Waits until the pending action has finished or a message box is up. */
void ModalDialog::Settle()
{
    for (DWORD t = 0; t < kLimitMs; t += kStepMs) {
        if (!actThread_) return;
        if (WaitForSingleObject(actThread_, kStepMs) == WAIT_OBJECT_0) {
            CloseHandle(actThread_);
            actThread_ = NULL;
            return;
        }
        if (FindBox()) return;
    }
    ADD_FAILURE() << "the dialog did not answer";
}

void ModalDialog::run(std::function<void()> act)
{
    if (actThread_) {
        EXPECT_FALSE(box()) << "a message box is still open";
        Settle();
        if (actThread_) return;
    }
    act_ = act;
    actThread_ = CreateThread(NULL, 0, ActThread, this, 0, NULL);
    Settle();
}

void ModalDialog::setText(int id, const std::string &text)
{
    HWND w = item(id);
    run([w, text] { SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); });
}

void ModalDialog::type(int id, const std::string &text)
{
    HWND w = item(id);
    run([w, text] {
        for (char ch : text) {
            SHORT vk = VkKeyScanA(ch);
            SendMessageA(w, WM_KEYDOWN, (WPARAM)(vk & 0xFF), 1);
            SendMessageA(w, WM_CHAR, (WPARAM)(unsigned char)ch, 1);
        }
    });
}

void ModalDialog::select(int id, int index)
{
    HWND w = item(id), d = dlg_;
    run([w, d, id, index] {
        SendMessageA(w, CB_SETCURSEL, (WPARAM)index, 0);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(w));
    });
}

void ModalDialog::selectText(int id, const std::string &text)
{
    LRESULT i = SendMessageA(item(id), CB_FINDSTRINGEXACT, (WPARAM)-1, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_NE(CB_ERR, i) << "no entry \"" << text << "\" in " << id;
    if (i != CB_ERR) select(id, (int)i);
}

void ModalDialog::click(int id)
{
    HWND w = item(id);
    run([w] { SendMessageA(w, BM_CLICK, 0, 0); });
}

bool ModalDialog::box(std::string *text, std::string *caption) const
{
    HWND b = FindBox();
    if (!b) return false;
    char buf[1024] = "";
    if (text) {
        GetDlgItemTextA(b, 0xFFFF, buf, sizeof buf);
        *text = buf;
    }
    if (caption) {
        GetWindowTextA(b, buf, sizeof buf);
        *caption = buf;
    }
    return true;
}

void ModalDialog::answer(int button)
{
    HWND b = FindBox();
    EXPECT_TRUE(b != NULL) << "no message box to answer";
    if (!b) return;
    PostMessageA(b, WM_COMMAND, (WPARAM)button, 0);
    for (DWORD t = 0; t < kLimitMs && IsWindow(b); t += kStepMs) Sleep(kStepMs);
    Settle();
}

bool ModalDialog::ended(INT_PTR *result)
{
    if (actThread_ && !box()) Settle();
    if (view_) {
        /* An ended dialog is hidden at once and destroyed when its loop
         * returns. */
        for (DWORD t = 0; t < 2000 && IsWindow(dlg_) && !IsWindowVisible(dlg_); t += kStepMs) Sleep(kStepMs);
        return !IsWindow(dlg_) || !IsWindowVisible(dlg_);
    }
    if (WaitForSingleObject(thread_, 0) != WAIT_OBJECT_0) {
        /* An ending dialog's thread returns at once; give it the moment. */
        if (dlg_ && IsWindow(dlg_) && IsWindowVisible(dlg_)) return false;
        if (WaitForSingleObject(thread_, 2000) != WAIT_OBJECT_0) return false;
    }
    if (result) *result = result_;
    return true;
}

std::vector<std::string> ModalDialog::entries(int id) const
{
    std::vector<std::string> out;
    LRESULT n = SendMessageA(item(id), CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; i++) {
        char buf[256] = "";
        if (SendMessageA(item(id), CB_GETLBTEXTLEN, (WPARAM)i, 0) < (LRESULT)sizeof buf)
            SendMessageA(item(id), CB_GETLBTEXT, (WPARAM)i, reinterpret_cast<LPARAM>(buf));
        out.push_back(buf);
    }
    return out;
}

int ModalDialog::selection(int id) const { return (int)SendMessageA(item(id), CB_GETCURSEL, 0, 0); }

std::string ModalDialog::selectedText(int id) const
{
    int i = selection(id);
    if (i < 0) return "<none>";
    return entries(id).at((size_t)i);
}

std::string ModalDialog::text(int id) const
{
    char buf[256] = "";
    GetWindowTextA(item(id), buf, sizeof buf);
    return buf;
}

bool ModalDialog::screenshot(const std::string &name) const
{
    /* The dialog's thread paints on its own: let it finish first. */
    RedrawWindow(root(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(200);
    return ScreenshotWindow(root(), name);
}
