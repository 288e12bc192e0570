// A push button that paints itself: flat or raised, lit under the pointer, shifted when
// pressed, with an icon or a masked bitmap beside its caption. It can also act as a check
// button, pop up a menu, open a shell address, play sounds, show its own cursor and carry a
// tooltip. Attaching it to a push button makes that button owner-drawn; its parent's
// WM_DRAWITEM comes back to DrawItem.
#pragma once

#include "framework/Button.h"
#include "framework/DC.h"
#include "framework/Gdi.h"
#include "framework/Icon.h"
#include "framework/Menu.h"
#include "framework/PaintBuffer.h"
#include "framework/ToolTipCtrl.h"

#include <initializer_list>
#include <vector>

// An icon the button shows, with its size in pixels. The button owns it (SkinImageOwners).
struct SkinIcon {
    HICON hIcon;
    DWORD cx;
    DWORD cy;
};

// A bitmap the button shows: the image is black where it is transparent, and the monochrome
// mask is white (1) there and black (0) where the image shows. The paint ANDs the mask and
// then ORs the image, which is why both must have this form. The button owns both.
struct SkinBitmap {
    HBITMAP hBitmap;
    DWORD cx;
    DWORD cy;
    HBITMAP hMask;
};

// The image handles a button owns, each once, though the records may name one twice: the
// same icon hot and idle, one mask for both bitmaps.
struct SkinImageOwners {
    std::vector<CIcon> icons;
    std::vector<CBitmap> bitmaps;
};

// The message sent just before the popup menu opens; wParam is the submenu.
struct SkinMenuNotify {
    HWND hWnd;  // nullptr: no notification
    UINT nMessage;
    LPARAM lParam;
};

// What PlaySoundA is given; szName holds a copy of a sound named by text.
struct SkinSound {
    char szName[MAX_PATH];
    LPCSTR pszSound;  // nullptr: no sound
    HMODULE hModule;
    DWORD dwFlags;
};

class CSkinButton : public CButton {
public:
    // Results of the operations.
    enum {
        SkinOk = 0,
        SkinBadIcon = 1,
        SkinBadPressedStyle = 6,
        SkinBadColorSlot = 7,
        SkinBadBitmap = 8,
    };
    // Colour slots of m_crColors.
    enum {
        ColorHotFace = 0,
        ColorHotText = 1,
        ColorIdleFace = 2,
        ColorIdleText = 3,
        ColorFocusFace = 4,
        ColorFocusText = 5,
    };
    // Where the image sits relative to the caption.
    enum { ImageLeft = 0, ImageAbove = 1, ImageRight = 2 };
    // How far a pressed button's content moves.
    enum { PressedShiftDiagonal = 0, PressedShiftDown = 1 };
    // Idle icon selectors; SetIcons takes them cast to HICON (IdleIconHandle).
    enum { IdleIconGrey = -2, IdleIconDark = -3 };
    static HICON IdleIconHandle(int nSelector) {
        return reinterpret_cast<HICON>(static_cast<INT_PTR>(nSelector));
    }

    CSkinButton();

    // Settings. Operations that take a handle own it from then on and release the one it
    // replaces; bRepaint invalidates the button.
    int SetPressedStyle(BYTE nStyle, BOOL bRepaint = TRUE);
    // Check mode only: checks for nonzero nCheck.
    int SetChecked(int nCheck, BOOL bRepaint = TRUE);
    BOOL GetChecked() const { return m_bChecked; }
    // Every colour slot back to the system's button colours.
    int ResetColors(BOOL bRepaint = TRUE);
    // The address opened on click; nullptr or empty for none. Longer texts keep 259 bytes,
    // cut between whole characters.
    int SetUrl(LPCSTR pszUrl);
    int SetFlat(BOOL bFlat, BOOL bRepaint = TRUE);
    // nSlot is ColorHotFace ... ColorFocusText; SkinBadColorSlot otherwise.
    int SetColor(BYTE nSlot, COLORREF crColor, BOOL bRepaint = TRUE);
    // The image's distance from the edge beside the caption (x) and its top above it (y).
    int SetImageMargin(int x, int y, BOOL bRepaint = TRUE);
    // ImageLeft, ImageAbove or ImageRight; other values leave the image unplaced.
    int SetImageAlign(BYTE nAlign, BOOL bRepaint = TRUE);
    // Flat mode: whether to draw the raised and sunken rectangles, and the focus rectangle.
    int SetFlatFrame(BOOL bFrame, BOOL bRepaint = TRUE);
    int SetFlatFocusRect(BOOL bFocusRect, BOOL bRepaint = TRUE);
    // Whether the window text only names the button for screen readers and is not drawn.
    int SetTextForReadersOnly(BOOL bReadersOnly, BOOL bRepaint = TRUE);
    // Paint the parent's pixels beneath the button, captured at the next paint.
    int SetCopyParentBackground(BOOL bCopy, BOOL bRepaint = TRUE);
    // Whether the button lights up while no window of its thread is active.
    int SetTrackInactive(BOOL bTrack);
    // The cursor over the button; nullptr for the class cursor. Pass an unshared cursor.
    int SetButtonCursor(HCURSOR hCursor);
    // The menu whose first submenu pops up on click; the chosen command is posted to hTarget,
    // or to the button's parent when hTarget is nullptr.
    int SetMenu(HMENU hMenu, HWND hTarget, BOOL bRepaint = TRUE);
    // nMessage goes to hWnd (nullptr: to nobody) with the submenu before it opens.
    int SetMenuNotify(HWND hWnd, UINT nMessage, LPARAM lParam);
    // The sound played when the pointer enters, or on click: a file or alias name (copied),
    // or a resource of hModule; nullptr for none. dwFlags are PlaySoundA's.
    int SetSound(LPCSTR pszSound, HMODULE hModule, BOOL bPlayOnClick, DWORD dwFlags);
    // Window style of the tooltip; an existing tooltip takes it at once.
    int SetToolTipStyle(DWORD dwStyle);
    // The tip shown over the whole button; these two need the button attached.
    int SetToolTipText(LPCSTR pszText, BOOL bActivate = TRUE);
    int ActivateToolTip(BOOL bActivate);

    // Images. Each call replaces all images, icons and bitmaps alike.
    int SetIconsFromResources(UINT nHotId, int nHotCx, int nHotCy, int nIdle, int nIdleCx,
                              int nIdleCy);
    int SetIconsFromResources(UINT nHotId, int nIdle);
    // hIdle may be nullptr, an icon or an idle selector (IdleIconHandle).
    int SetIcons(HICON hHot, HICON hIdle);
    // Images with their masks; the idle pair may be nullptr. SkinBadBitmap when a bitmap
    // cannot be read or a mask is missing.
    int SetBitmaps(HBITMAP hHot, HBITMAP hHotMask, HBITMAP hIdle, HBITMAP hIdleMask);
    // Whether a disabled button embosses its bitmap (icons always are).
    int SetEmbossDisabledBitmap(BOOL bEmboss, BOOL bRepaint = TRUE);
    // Releases (when bRelease) and clears every image record.
    void FreeImages(BOOL bRelease);
    // New icons derived from hIcon, or nullptr: grey-scale, and darkened to three quarters.
    static HICON MakeGreyIcon(HICON hIcon);
    static HICON MakeDarkIcon(HICON hIcon);
    // Each channel scaled down by factor, when 0 < factor <= 1; else cr unchanged.
    static COLORREF ShadeColor(COLORREF cr, double factor);

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    // The drawing steps, in the order DrawItem runs them; a derived class may replace any.
    virtual int PaintFace(CDC* pDC, RECT* pRect);
    virtual int PaintFrame(CDC* pDC, RECT* pRect);
    virtual int PaintIcon(CDC* pDC, BOOL bHasCaption, const RECT* pItem, RECT* pCaption,
                          BOOL bPressed, BOOL bDisabled);
    virtual int PaintBitmap(CDC* pDC, BOOL bHasCaption, const RECT* pItem, RECT* pCaption,
                            BOOL bPressed, BOOL bDisabled);
    virtual int PaintCaption(CDC* pDC, LPCSTR pszCaption, const RECT* pItem, RECT* pCaption,
                             BOOL bPressed, BOOL bDisabled);
    // The rectangle of a cx by cy image; moves the caption rectangle aside for it.
    void PlaceImage(BOOL bHasCaption, const RECT* pItem, RECT* pCaption, BOOL bPressed, DWORD cx,
                    DWORD cy, RECT* pImage);
    // The parent's pixels beneath the button, read once and then drawn from the cache.
    void CopyParentBackground(CDC* pDC);

    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKillFocus(CWnd* pNewWnd);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnSysColorChange();
    BOOL OnReflectedClick();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);
    void OnCancelMode();
    UINT OnGetDlgCode();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    void OnBmSetStyle(UINT nStyle, BOOL bRedraw);
    void OnMouseLeave();
    void OnBmSetCheck(UINT nCheck);
    UINT OnBmGetCheck();
    void OnUpdateUIState(UINT nAction, UINT nUIElement);
    DECLARE_MESSAGE_MAP()

    // Ends the hot look when the pointer is no longer tracked.
    void ClearHover();
    // Creates the tooltip, inactive, the first time it is needed.
    void EnsureToolTip();

    BOOL m_bEmbossDisabledBitmap = TRUE;  // a disabled button embosses its bitmap
    POINT m_ptImageMargin = {3, 3};       // image distance from the edge, with a caption
    POINT m_ptPressedShift = {1, 1};      // content offset while drawn pressed
    BOOL m_bFlat = TRUE;                  // no border at rest; hover tracking
    BOOL m_bHover = FALSE;                // the pointer is over the button (flat only)
    BOOL m_bCopyParentBackground = FALSE;
    // The paint in progress, as DrawItem derived it: the face and frame steps read it here,
    // their signatures carrying no state; the other steps get it as arguments.
    BOOL m_bDrawPressed = FALSE;  // drawn pressed
    BOOL m_bDrawFocused = FALSE;  // ODS_FOCUS
    BOOL m_bDefault = FALSE;      // the dialog's default push button
    BOOL m_bCheckMode = FALSE;    // clicks toggle m_bChecked
    BYTE m_nImageAlign = ImageLeft;
    BOOL m_bFlatFrame = TRUE;            // flat: draw the raised and sunken rectangles
    BOOL m_bFlatFocusRect = FALSE;       // flat: draw the focus rectangle even for the mouse
    BOOL m_bTextForReadersOnly = FALSE;  // the window text is a name, not a caption
    BOOL m_bFocusCuesHidden = FALSE;     // the window hides focus cues, as after mouse input
    COLORREF m_crColors[6] = {};         // by colour slot
    HWND m_hMenuTarget = nullptr;        // owns the popup menu and gets its command
    BOOL m_bMenuOpen = FALSE;            // the popup menu is being tracked
    CMenu m_hMenu;                       // its first submenu pops up on click
    CCursor m_hCursor;                   // shown over the button
    CToolTipCtrl m_toolTip;
    CPaintBuffer m_background;  // the parent's pixels beneath the button, kept from a paint
    BOOL m_bTrackInactive = TRUE;
    BOOL m_bChecked = FALSE;
    DWORD m_dwToolTipStyle = 0;
    char m_szUrl[MAX_PATH] = {};  // opened with "open" on click
    SkinIcon m_icons[2];          // hot, idle
    SkinBitmap m_bitmaps[2];      // hot, idle
    SkinImageOwners m_imageOwners;
    SkinMenuNotify m_menuNotify = {};
    SkinSound m_sounds[2] = {};         // pointer enters, click
    BOOL m_bDisabledWithFocus = FALSE;  // the focus left because the button was disabled

private:
    // Settings may come before the button is attached: nothing to repaint then.
    void Repaint() {
        if (m_hWnd)
            InvalidateRect(nullptr, TRUE);
    }
    // Owns the given handles from now on, each once, and releases every other image held;
    // clears the records. A handle the button held already is kept, not released.
    void TakeImages(std::initializer_list<HICON> icons, std::initializer_list<HBITMAP> bitmaps);
    // Reads the recorded size of the icon in the record; FALSE when it cannot be read.
    static BOOL ReadIconSize(SkinIcon& icon);
    static HICON MakeDerivedIcon(HICON hIcon, COLORREF (*pfnPixel)(COLORREF));
    static void Play(const SkinSound& sound);
};
