// The application object: start-up through InitInstance, and the command
// routing target of last resort.
#pragma once

#include "framework/Wnd.h"

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;       // given, or the executable's name
    CString m_strHelpFilePath;  // the executable's path with .html in place of .exe

    // FALSE ends the program without a message loop.
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The application message loop, run only when InitInstance returned TRUE.
    virtual int Run();
    // Shows the help file.
    virtual void WinHelp();
    void OnHelp();

    DECLARE_MESSAGE_MAP()
};

// The program's entry point body: InitInstance, then Run or the exit.
int AfxWinMain(HINSTANCE hInstance);
