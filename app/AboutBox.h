// The About box: icon, version line, legal notice and OK.
#pragma once

#include "framework/Dialog.h"

class CAboutBox : public CDialog {
public:
    CAboutBox();

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
