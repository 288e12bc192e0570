// Modal dialogs from a dialog template, with data exchange that binds
// control objects to the template's controls.
#pragma once

#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// Binds rControl to control nIDC of the dialog (subclassing it) the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog, runs its own message loop until EndDialog and
    // destroys it; returns the EndDialog result, or -1 when it could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    UINT m_nIDHelp;      // the template ID
    CWnd* m_pParentWnd;  // explicit owner, or nullptr for the main window
    BOOL m_bModalDone = FALSE;
    int m_nModalResult = -1;

private:
    // Offers the message to the CWnd objects from its window up to this dialog.
    BOOL WalkPreTranslateTree(MSG* pMsg);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerForModal() const;

    DECLARE_MESSAGE_MAP()
};
