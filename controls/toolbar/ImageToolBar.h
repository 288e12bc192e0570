// The framework toolbar with full-colour image lists for its normal, hot and disabled
// buttons, each cut from one bitmap strip whose first pixel gives the transparent colour,
// and buttons whose drop-down arrow shows a menu under the button.
#pragma once

#include "framework/ImageList.h"
#include "framework/ToolBar.h"

#include <vector>

// A button whose arrow shows the first popup of menu idMenu; its commands go to pOwner.
struct DropDownEntry {
    UINT idButton;  // command ID of the button
    UINT idMenu;    // menu resource; the low 16 bits are its integer name
    CWnd* pOwner;   // not owned; must outlive the entry
};

class CImageToolBar : public CToolBar {
public:
    CImageToolBar() = default;
    // Destroys the window first: the control draws from the lists until it is gone.
    ~CImageToolBar() override;

    // Cuts bitmap idNormal, then idHot and idDisabled unless 0, into images cxImage wide
    // and installs each as that state's list. Stops at the first failure, which leaves
    // that state's list as it was, and returns FALSE. Needs the toolbar window.
    BOOL SetImageLists(int cxImage, UINT idNormal, UINT idHot, UINT idDisabled);
    // Gives button idButton a drop-down arrow that shows menu idMenu for pOwner. An entry
    // added earlier for the same button wins. FALSE without an owner or such a button.
    BOOL AddDropDown(UINT idButton, UINT idMenu, CWnd* pOwner);

protected:
    // Builds one list from bitmap idBitmap and sends it with message: TB_SETIMAGELIST,
    // TB_SETHOTIMAGELIST or TB_SETDISABLEDIMAGELIST.
    BOOL SetImageListFromBitmap(UINT message, UINT idBitmap, int cxImage);
    void OnDropDown(NMHDR* pNotifyStruct, LRESULT* pResult);

    std::vector<DropDownEntry> m_dropDowns;
    // The lists handed to the control, by state (normal, hot, disabled): the control never
    // destroys lists it is given.
    CImageList m_imageLists[3];

    DECLARE_MESSAGE_MAP()
};
