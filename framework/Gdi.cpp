#include "framework/Gdi.h"

BOOL CGdiObject::Attach(HGDIOBJ h) {
    DeleteObject();
    m_hObject = h;
    return h != nullptr;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return ok;
}
