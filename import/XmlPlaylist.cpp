// WPL, ZPL and XSPF files, read by the system's XML reader (XmlLite) as a stream of nodes.
#include "import/PlaylistFormats.h"

#include "import/PlaylistEntry.h"

#include <xmllite.h>

#include <memory>
#include <vector>

namespace {

// No playlist nests its elements this deep or takes this many bytes, not even one of 65,535
// entries with the longest paths; past them a file is read no further, so that it cannot make
// the reader hold all it has.
const int kMostDepth = 64;
const ULONGLONG kMostBytes = 64 << 20;
const HRESULT kTooDeep = HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);

using CreateXmlReaderFunction = HRESULT(WINAPI*)(REFIID riid, void** ppReader, IMalloc* pMalloc);

// The toolchain has no import library for xmllite.dll: it is loaded by its full path in the
// system's folder, so that no file of that name beside a playlist can stand in for it, once,
// and stays loaded for the rest of the run. Null where the system has none.
CreateXmlReaderFunction XmlReaderFactory() {
    static const CreateXmlReaderFunction pfnCreate = []() -> CreateXmlReaderFunction {
        wchar_t system[MAX_PATH] = L"";
        const UINT nLength = ::GetSystemDirectoryW(system, MAX_PATH);
        if (nLength == 0 || nLength >= MAX_PATH)
            return nullptr;
        const HMODULE hModule = ::LoadLibraryW(JoinPath(system, L"xmllite.dll").c_str());
        return hModule ? reinterpret_cast<CreateXmlReaderFunction>(
                             reinterpret_cast<void*>(::GetProcAddress(hModule, "CreateXmlReader")))
                       : nullptr;
    }();
    return pfnCreate;
}

struct ComRelease {
    void operator()(IUnknown* pObject) const { pObject->Release(); }
};

// The open file as the stream that the reader pulls its bytes from. It lives on the stack,
// longer than the reader that holds it, so counting references has nothing to free.
class CFileStream : public ISequentialStream {
public:
    explicit CFileStream(HANDLE hFile) : m_hFile(hFile) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppObject) override {
        if (riid != IID_IUnknown && riid != IID_ISequentialStream) {
            *ppObject = nullptr;
            return E_NOINTERFACE;
        }
        *ppObject = static_cast<ISequentialStream*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE Read(void* pBuffer, ULONG nSize, ULONG* pnRead) override {
        DWORD nRead = 0;
        const BOOL bRead = ::ReadFile(m_hFile, pBuffer, nSize, &nRead, nullptr);
        if (pnRead)
            *pnRead = nRead;
        if (!bRead) {
            m_dwError = ::GetLastError();
            return HRESULT_FROM_WIN32(m_dwError);
        }
        if ((m_nBytes += nRead) > kMostBytes) {
            m_dwError = ERROR_FILE_TOO_LARGE;
            return HRESULT_FROM_WIN32(m_dwError);
        }
        return nRead == nSize ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override {
        return STG_E_ACCESSDENIED;
    }

    DWORD Error() const { return m_dwError; }  // the error that stopped the last read, or 0

private:
    HANDLE m_hFile;
    ULONGLONG m_nBytes = 0;  // read so far
    DWORD m_dwError = 0;
};

// Walks the nodes of one document and hands on its entries.
class CXmlPlaylistReader {
public:
    CXmlPlaylistReader(IXmlReader* pReader, const EntrySink& onEntry)
        : m_pReader(pReader), m_onEntry(onEntry) {}

    // S_FALSE at the document's end, an error where it is not well-formed; S_OK once the
    // first element shows that the document is no playlist.
    HRESULT Walk() {
        HRESULT hr;
        XmlNodeType type;
        while ((hr = m_pReader->Read(&type)) == S_OK) {
            if (type == XmlNodeType_Element)
                hr = OnElement();
            else if (type == XmlNodeType_EndElement)
                OnEndElement();
            else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA ||
                     type == XmlNodeType_Whitespace)
                hr = OnText();
            if (FAILED(hr) || !m_bPlaylist)
                break;
        }
        return hr;
    }

    bool IsPlaylist() const { return m_bPlaylist; }

private:
    enum class Kind { kUnknown, kSmil, kXspf };

    HRESULT OnElement() {
        LPCWSTR pszName = nullptr;
        UINT nName = 0;
        const HRESULT hr = m_pReader->GetLocalName(&pszName, &nName);
        if (FAILED(hr))
            return hr;
        // Copied before the attributes are read: moving to them may reuse its memory.
        const std::wstring name(pszName, nName);
        // Depths are counted here: the reader's own depth of an end element is not the same
        // in every version of it.
        const int nDepth = m_nDepth;
        if (nDepth >= kMostDepth)
            return kTooDeep;
        const bool bEmpty = m_pReader->IsEmptyElement() != FALSE;
        if (!bEmpty)
            ++m_nDepth;
        if (m_kind == Kind::kUnknown) {
            m_kind = SameNameNoCase(name, L"smil")       ? Kind::kSmil
                     : SameNameNoCase(name, L"playlist") ? Kind::kXspf
                                                         : Kind::kUnknown;
            m_bPlaylist = m_kind != Kind::kUnknown;
        }
        if (m_kind == Kind::kSmil) {
            std::wstring source;
            if (SameNameNoCase(name, L"media") && FindAttribute(nullptr, L"src", &source))
                TakeEntryText(EntryText::kPath, source, m_onEntry);
            return S_OK;
        }
        // XSPF: xml:base on any element sets the base of the references within it.
        m_bases.resize(static_cast<size_t>(nDepth) + 1);
        m_bases[nDepth] = nDepth > 0 ? m_bases[nDepth - 1] : std::wstring();
        std::wstring base;
        if (FindAttribute(L"xml", L"base", &base))
            m_bases[nDepth] = ResolveReference(m_bases[nDepth], base);
        if (bEmpty)
            return S_OK;
        if (SameNameNoCase(name, L"track")) {
            m_nTrackDepth = nDepth;
            m_bTrackHasLocation = false;
        } else if (SameNameNoCase(name, L"location") && nDepth == m_nTrackDepth + 1 &&
                   !m_bTrackHasLocation) {
            m_nLocationDepth = nDepth;
            m_location.clear();
        }
        return S_OK;
    }

    HRESULT OnText() {
        if (m_nLocationDepth < 0)
            return S_OK;
        LPCWSTR pszValue = nullptr;
        UINT nValue = 0;
        const HRESULT hr = m_pReader->GetValue(&pszValue, &nValue);
        // Past the longest entry it is too long whatever follows; no more is kept.
        if (SUCCEEDED(hr) && m_location.size() <= kMaxEntryUnits)
            m_location.append(pszValue, nValue);
        return hr;
    }

    void OnEndElement() {
        const int nDepth = --m_nDepth;
        if (nDepth == m_nLocationDepth) {
            // The blanks around an address are the document's layout, not part of it.
            const size_t nFirst = m_location.find_first_not_of(L" \t\r\n");
            if (nFirst != std::wstring::npos) {
                const size_t nEnd = m_location.find_last_not_of(L" \t\r\n") + 1;
                const std::wstring reference = m_location.substr(nFirst, nEnd - nFirst);
                TakeEntryText(EntryText::kReference, ResolveReference(m_bases[nDepth], reference),
                              m_onEntry);
            }
            m_bTrackHasLocation = true;
            m_nLocationDepth = -1;
        } else if (nDepth == m_nTrackDepth) {
            m_nTrackDepth = -1;
        }
    }

    // The value of the element's attribute of this name in any case, with this prefix
    // (nullptr: any).
    bool FindAttribute(const wchar_t* prefix, const wchar_t* name, std::wstring* pValue) {
        bool bFound = false;
        for (HRESULT hr = m_pReader->MoveToFirstAttribute(); hr == S_OK && !bFound;
             hr = m_pReader->MoveToNextAttribute()) {
            LPCWSTR pszName = nullptr, pszPrefix = nullptr, pszValue = nullptr;
            UINT nName = 0, nPrefix = 0, nValue = 0;
            if (FAILED(m_pReader->GetLocalName(&pszName, &nName)) ||
                !SameNameNoCase(std::wstring(pszName, nName), name) ||
                FAILED(m_pReader->GetPrefix(&pszPrefix, &nPrefix)) ||
                (prefix && !SameNameNoCase(std::wstring(pszPrefix, nPrefix), prefix)) ||
                FAILED(m_pReader->GetValue(&pszValue, &nValue)))
                continue;
            pValue->assign(pszValue, nValue);
            bFound = true;
        }
        m_pReader->MoveToElement();
        return bFound;
    }

    IXmlReader* const m_pReader;
    const EntrySink& m_onEntry;
    Kind m_kind = Kind::kUnknown;       // what the first element says the document is
    bool m_bPlaylist = true;            // false once the first element is no playlist's
    int m_nDepth = 0;                   // the elements open
    std::vector<std::wstring> m_bases;  // XSPF: the base reference at each depth
    int m_nTrackDepth = -1;             // XSPF: the depth of the <track> being read, or -1
    bool m_bTrackHasLocation = false;   // its first <location> was taken; others stand in for it
    int m_nLocationDepth = -1;          // the depth of the <location> being read, or -1
    std::wstring m_location;            // its text so far
};

}  // namespace

PlaylistReading ReadXmlEntries(HANDLE hFile, const EntrySink& onEntry) {
    const CreateXmlReaderFunction pfnCreate = XmlReaderFactory();
    if (!pfnCreate)
        return {true, SystemErrorText(ERROR_MOD_NOT_FOUND)};
    CFileStream stream(hFile);
    IXmlReader* pCreated = nullptr;
    HRESULT hr = pfnCreate(__uuidof(IXmlReader), reinterpret_cast<void**>(&pCreated), nullptr);
    if (FAILED(hr))
        return {true, SystemErrorText(static_cast<DWORD>(hr))};
    const std::unique_ptr<IXmlReader, ComRelease> reader(pCreated);
    // Entities that a document type definition declares could make a small file huge.
    hr = reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    if (SUCCEEDED(hr))
        hr = reader->SetInput(&stream);
    if (FAILED(hr))
        return {true, SystemErrorText(static_cast<DWORD>(hr))};
    CXmlPlaylistReader walker(reader.get(), onEntry);
    hr = walker.Walk();
    if (!walker.IsPlaylist())
        return {false, CString()};
    if (SUCCEEDED(hr))
        return {true, CString()};
    if (stream.Error() == ERROR_FILE_TOO_LARGE)
        return {true, "larger than any playlist (64 MB)"};
    if (stream.Error())
        return {true, SystemErrorText(stream.Error())};
    UINT nLine = 0, nColumn = 0;
    reader->GetLineNumber(&nLine);
    reader->GetLinePosition(&nColumn);
    CString fault;
    fault.Format("%s (line %u, column %u)",
                 hr == static_cast<HRESULT>(WC_E_DTDPROHIBITED)
                     ? "a document type definition, which is not read"
                 : hr == kTooDeep ? "nested deeper than any playlist"
                                  : "not well-formed XML",
                 nLine, nColumn);
    return {true, fault};
}
