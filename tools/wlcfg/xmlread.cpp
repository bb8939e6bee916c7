#include "xmlread.h"

#include <windows.h>
#include <objidl.h>
#include <xmllite.h>

typedef HRESULT(WINAPI *CreateXmlReaderFn)(REFIID, void **, IMalloc *);

static const IID kIID_IXmlReader = {0x7279FC81, 0x709D, 0x4095, {0xB6, 0x3D, 0x69, 0xFE, 0x4B, 0x0D, 0x90, 0x30}};

static std::string Narrow(const WCHAR *w, UINT n)
{
    std::string o;
    int k = WideCharToMultiByte(CP_UTF8, 0, w, (int)n, NULL, 0, NULL, NULL);
    if (k > 0) {
        o.resize(k);
        WideCharToMultiByte(CP_UTF8, 0, w, (int)n, &o[0], k, NULL, NULL);
    }
    return o;
}

static std::string Trimmed(const std::string &s)
{
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r' || s[a] == '\n')) a++;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r' || s[b - 1] == '\n')) b--;
    return s.substr(a, b - a);
}

/* Whether the document's last markup closes its root element. Only for
 * single-byte encodings; UTF-16 documents are left to the reader. */
static bool ClosedAtEnd(const std::string &bytes, const std::string &root)
{
    if (bytes.size() >= 2 && ((unsigned char)bytes[0] == 0xFF || (unsigned char)bytes[0] == 0xFE)) return true;
    size_t end = bytes.size();
    while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\t' || bytes[end - 1] == '\r' ||
                       bytes[end - 1] == '\n' || bytes[end - 1] == '\0'))
        end--;
    /* comments and processing instructions after the root end in '>' too */
    const std::string close = "</" + root + ">";
    std::string t = bytes.substr(0, end);
    size_t at = t.rfind(close);
    if (at != std::string::npos) return true;
    return t.size() >= 2 && t.compare(t.size() - 2, 2, "/>") == 0;
}

static bool ReadElements(const std::string &bytes, std::vector<XmlElement> *out, std::string *why)
{
    out->clear();
    if (bytes.size() > kMaxImportBytes) {
        *why = "file larger than 1 MB";
        return false;
    }
    static HMODULE lib = LoadLibraryA("xmllite.dll");
    CreateXmlReaderFn create = lib ? (CreateXmlReaderFn)(void *)GetProcAddress(lib, "CreateXmlReader") : NULL;
    if (!create) {
        *why = "XmlLite (xmllite.dll) is not available";
        return false;
    }
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
    if (!mem) {
        *why = "out of memory";
        return false;
    }
    memcpy(GlobalLock(mem), bytes.data(), bytes.size());
    GlobalUnlock(mem);
    IStream *stream = NULL;
    if (CreateStreamOnHGlobal(mem, TRUE, &stream) != S_OK) {
        GlobalFree(mem);
        *why = "out of memory";
        return false;
    }
    ULARGE_INTEGER size;
    size.QuadPart = bytes.size();
    stream->SetSize(size);
    IXmlReader *reader = NULL;
    bool ok = create(kIID_IXmlReader, (void **)&reader, NULL) == S_OK;
    if (ok) {
        reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
        reader->SetProperty(XmlReaderProperty_MaxElementDepth, 32);
        ok = reader->SetInput(stream) == S_OK;
    }
    std::vector<std::string> path;
    std::vector<std::string> text;
    std::string rootName;
    XmlNodeType type;
    HRESULT hr = S_OK;
    while (ok && (hr = reader->Read(&type)) == S_OK) {
        const WCHAR *w = NULL;
        UINT n = 0;
        switch (type) {
        case XmlNodeType_Element: {
            if (path.empty() && out->empty() && reader->GetQualifiedName(&w, &n) == S_OK) rootName = Narrow(w, n);
            reader->GetLocalName(&w, &n);
            path.push_back(Narrow(w, n));
            text.push_back("");
            if (reader->IsEmptyElement()) {
                out->push_back({path, ""});
                path.pop_back();
                text.pop_back();
            }
            break;
        }
        case XmlNodeType_Text:
        case XmlNodeType_CDATA:
            if (!text.empty() && reader->GetValue(&w, &n) == S_OK) text.back() += Narrow(w, n);
            break;
        case XmlNodeType_EndElement:
            if (path.empty()) {
                ok = false;
                break;
            }
            out->push_back({path, Trimmed(text.back())});
            path.pop_back();
            text.pop_back();
            break;
        default:
            break;
        }
        if (out->size() > 10000) {
            *why = "more than 10000 elements";
            ok = false;
        }
    }
    if (ok && FAILED(hr)) {
        char b[64];
        UINT line = 0, col = 0;
        reader->GetLineNumber(&line);
        reader->GetLinePosition(&col);
        snprintf(b, sizeof b, "not well-formed XML (0x%08lX) at line %u, column %u", (unsigned long)hr, line, col);
        *why = b;
        ok = false;
    } else if (ok && !path.empty()) {
        *why = "XML document ends inside an element";
        ok = false;
    } else if (ok && !ClosedAtEnd(bytes, rootName)) {
        /* a reader that closes open elements at the end of the input must
           not turn a truncated document into a whole one */
        *why = "XML document ends inside an element";
        ok = false;
    } else if (!ok && why->empty()) {
        *why = "XmlLite could not read the document";
    }
    if (reader) reader->Release();
    stream->Release();
    return ok;
}

/* Wine's XmlLite can loop for ever on some malformed input: the reader runs
 * on a thread of its own and is given up after a bounded time. */
struct ReadJob {
    std::string bytes;
    std::vector<XmlElement> out;
    std::string why;
    bool ok = false;
};

static DWORD WINAPI ReadThread(void *p)
{
    ReadJob *j = (ReadJob *)p;
    j->ok = ReadElements(j->bytes, &j->out, &j->why);
    return 0;
}

bool XmlReadElements(const std::string &bytes, std::vector<XmlElement> *out, std::string *why)
{
    ReadJob *j = new ReadJob;
    j->bytes = bytes;
    HANDLE t = CreateThread(NULL, 0, ReadThread, j, 0, NULL);
    if (!t) {
        delete j;
        *why = "cannot start the XML reader";
        return false;
    }
    if (WaitForSingleObject(t, kXmlReadTimeoutMs) != WAIT_OBJECT_0) {
        /* the job stays with the stuck thread, which ends with the process
           (the tool exits after a refused import); terminating it could
           leave a lock of the runtime held */
        CloseHandle(t);
        out->clear();
        *why = "the XML reader did not finish (malformed document)";
        return false;
    }
    CloseHandle(t);
    *out = j->out;
    *why = j->why;
    bool ok = j->ok;
    delete j;
    return ok;
}
