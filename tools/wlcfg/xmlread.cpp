#include "xmlread.h"

#include <windows.h>
#include <ctype.h>
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

/* The document's characters one byte each, for the checks below: UTF-16
 * (by its byte order mark) narrowed unit by unit, a unit beyond ASCII and
 * a cut last unit read as '?'; anything else as it is. */
static std::string MarkupView(const std::string &bytes)
{
    const bool le = bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xFE;
    const bool be = bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFE && (unsigned char)bytes[1] == 0xFF;
    if (!le && !be) return bytes;
    std::string v;
    for (size_t i = 2; i < bytes.size(); i += 2) {
        if (i + 1 == bytes.size()) {
            v += '?';
            break;
        }
        const unsigned lo = (unsigned char)bytes[le ? i : i + 1], hi = (unsigned char)bytes[le ? i + 1 : i];
        v += hi == 0 && lo < 0x80 ? (char)lo : '?';
    }
    return v;
}

static bool OpenAfter(const std::string &v, const char *open, const char *close)
{
    const size_t at = v.rfind(open);
    return at != std::string::npos && v.find(close, at + strlen(open)) == std::string::npos;
}

/* A document whose end lies inside a tag, a comment, a CDATA section or a
 * processing instruction. Such a document is not well-formed, and Wine's
 * XmlLite does not come back from the end of it, so it is refused before
 * the reader sees it. */
static bool EndsInsideMarkup(const std::string &view)
{
    return OpenAfter(view, "<", ">") || OpenAfter(view, "<!--", "-->") || OpenAfter(view, "<![CDATA[", "]]>") ||
           OpenAfter(view, "<?", "?>");
}

/* A NUL character before the end (NUL padding after the document aside):
 * XML has none, and Wine's XmlLite takes the first one for the end of the
 * input, inside the document. */
static bool NulInside(const std::string &view)
{
    size_t end = view.size();
    while (end > 0 && (view[end - 1] == '\0' || view[end - 1] == ' ' || view[end - 1] == '\t' ||
                       view[end - 1] == '\r' || view[end - 1] == '\n'))
        end--;
    return view.find('\0') < end;
}

/* Whether an element starts outside comments, processing instructions and
 * CDATA sections (their closers exist: see EndsInsideMarkup). Wine's
 * XmlLite aborts the process at the end of a document without one. */
static bool HasElement(const std::string &view)
{
    static const struct {
        const char *open, *close;
    } kAside[] = {{"<!--", "-->"}, {"<?", "?>"}, {"<![CDATA[", "]]>"}};
    size_t i = 0;
    while ((i = view.find('<', i)) != std::string::npos) {
        bool aside = false;
        for (const auto &a : kAside)
            if (view.compare(i, strlen(a.open), a.open) == 0) {
                const size_t end = view.find(a.close, i + strlen(a.open));
                if (end == std::string::npos) return false;
                i = end + strlen(a.close);
                aside = true;
                break;
            }
        if (aside) continue;
        const char c = i + 1 < view.size() ? view[i + 1] : '\0';
        if (c != '/' && c != '!' && c != '<' && c != '>' && c != '\0' && c != ' ' && c != '\t' && c != '\r' &&
            c != '\n')
            return true;
        i++;
    }
    return false;
}

/* Whether the document's last markup closes its root element (or is a
 * comment or processing instruction after it). */
static bool ClosedAtEnd(const std::string &view, const std::string &root)
{
    size_t end = view.size();
    while (end > 0 && (view[end - 1] == ' ' || view[end - 1] == '\t' || view[end - 1] == '\r' ||
                       view[end - 1] == '\n' || view[end - 1] == '\0'))
        end--;
    const std::string t = view.substr(0, end);
    size_t at = t.rfind("</" + root);
    if (at != std::string::npos) {
        at += 2 + root.size();
        while (at < t.size() && (t[at] == ' ' || t[at] == '\t' || t[at] == '\r' || t[at] == '\n')) at++;
        if (at < t.size() && t[at] == '>') return true;
    }
    return t.size() >= 2 && t.compare(t.size() - 2, 2, "/>") == 0;
}

/* Whether a document in single bytes that is UTF-8 by its declaration (or
 * for want of one) holds malformed UTF-8. Such a document is not
 * well-formed, and Wine's XmlLite can keep on reading at a broken sequence. */
static bool BadUtf8(const std::string &bytes)
{
    if (bytes.size() >= 2 && ((unsigned char)bytes[0] == 0xFF || (unsigned char)bytes[0] == 0xFE)) return false;
    size_t i = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (bytes.compare(i, 5, "<?xml") == 0) {
        const std::string decl = bytes.substr(i, bytes.find("?>", i) - i);
        const size_t e = decl.find("encoding");
        if (e != std::string::npos) {
            std::string name;
            for (size_t k = decl.find_first_of("\"'", e) + 1; k > 0 && k < decl.size() && decl[k] != '"' &&
                                                                 decl[k] != '\'';
                 k++)
                name += (char)tolower((unsigned char)decl[k]);
            if (name != "utf-8" && name != "utf8") return false;
        }
    }
    for (; i < bytes.size(); i++) {
        const unsigned char c = (unsigned char)bytes[i];
        const int more = c < 0x80 ? 0 : c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : -1;
        if (more < 0 || (more > 0 && i + more >= bytes.size())) return true;
        for (int k = 1; k <= more; k++)
            if (((unsigned char)bytes[i + k] & 0xC0) != 0x80) return true;
        i += more;
    }
    return false;
}

static bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

/* Whether only white space, comments and processing instructions follow the
 * root element's end (its last end tag, or its "/>"). */
static bool OnlyMiscAfterRoot(const std::string &view, const std::string &root)
{
    size_t at = view.rfind("</" + root);
    if (at != std::string::npos) at = view.find('>', at);
    else if ((at = view.rfind("/>")) != std::string::npos) at++;
    if (at == std::string::npos) return false;
    for (at++; at < view.size();) {
        if (Blank(view[at])) {
            at++;
        } else if (view.compare(at, 4, "<!--") == 0 || view.compare(at, 2, "<?") == 0) {
            const char *close = view[at + 1] == '!' ? "-->" : "?>";
            const size_t end = view.find(close, at + 2);
            if (end == std::string::npos) return false;
            at = end + strlen(close);
        } else {
            return false;
        }
    }
    return true;
}

/* What the reader gets: the document without its trailing white space and
 * NUL padding, then the end tag "</>" in the document's encoding. A reader
 * inside an element (a root left open, an element of the root's name
 * nested in it) meets that sentinel and fails instead of reaching the end
 * of the input, where Wine's XmlLite does not come back; after a whole
 * root the failure is the sentinel's and the document stands. False for a
 * UTF-16 document of an odd number of bytes. */
static bool ReaderInput(const std::string &bytes, std::string *in)
{
    const bool le = bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xFE;
    const bool be = bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFE && (unsigned char)bytes[1] == 0xFF;
    const size_t unit = le || be ? 2 : 1;
    if (unit == 2 && bytes.size() % 2) return false;
    size_t end = bytes.size();
    while (end >= (unit == 2 ? 4 : 1)) {
        const unsigned char lo = (unsigned char)bytes[end - (be ? 1 : unit)];
        const unsigned char hi = unit == 2 ? (unsigned char)bytes[end - (be ? 2 : 1)] : 0;
        if (hi != 0 || !Blank((char)lo)) break;
        end -= unit;
    }
    *in = bytes.substr(0, end);
    for (const char c : std::string("</>")) {
        if (be) *in += '\0';
        *in += c;
        if (le) *in += '\0';
    }
    return true;
}

static bool ReadElements(const std::string &bytes, std::vector<XmlElement> *out, std::string *why)
{
    out->clear();
    if (bytes.size() > kMaxImportBytes) {
        *why = "file larger than 1 MB";
        return false;
    }
    const std::string view = MarkupView(bytes);
    if (EndsInsideMarkup(view)) {
        *why = "XML document ends inside a tag, comment, CDATA section or processing instruction";
        return false;
    }
    if (BadUtf8(bytes)) {
        *why = "XML document in UTF-8 with a malformed byte sequence";
        return false;
    }
    if (NulInside(view)) {
        *why = "XML document with a NUL character";
        return false;
    }
    if (!HasElement(view)) {
        *why = "XML document without an element";
        return false;
    }
    static HMODULE lib = LoadLibraryA("xmllite.dll");
    CreateXmlReaderFn create = lib ? (CreateXmlReaderFn)(void *)GetProcAddress(lib, "CreateXmlReader") : NULL;
    if (!create) {
        *why = "XmlLite (xmllite.dll) is not available";
        return false;
    }
    std::string input;
    if (!ReaderInput(bytes, &input)) {
        *why = "UTF-16 document with a cut last character";
        return false;
    }
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, input.size());
    if (!mem) {
        *why = "out of memory";
        return false;
    }
    memcpy(GlobalLock(mem), input.data(), input.size());
    GlobalUnlock(mem);
    IStream *stream = NULL;
    if (CreateStreamOnHGlobal(mem, TRUE, &stream) != S_OK) {
        GlobalFree(mem);
        *why = "out of memory";
        return false;
    }
    ULARGE_INTEGER size;
    size.QuadPart = input.size();
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
    bool rootClosed = false;
    XmlNodeType type;
    HRESULT hr = S_OK;
    while (ok && (hr = reader->Read(&type)) == S_OK) {
        const WCHAR *w = NULL;
        UINT n = 0;
        if (rootClosed && (type == XmlNodeType_Element || type == XmlNodeType_Text || type == XmlNodeType_CDATA)) {
            *why = "XML document with content after its root element";
            ok = false;
            break;
        }
        switch (type) {
        case XmlNodeType_Element: {
            if (path.empty() && out->empty() && reader->GetQualifiedName(&w, &n) == S_OK) {
                rootName = Narrow(w, n);
                /* a document cut inside its root: refused before the reader
                   reaches the end (where Wine's would not come back) */
                if (!ClosedAtEnd(view, rootName)) {
                    *why = "XML document ends inside an element";
                    ok = false;
                    break;
                }
            }
            reader->GetLocalName(&w, &n);
            path.push_back(Narrow(w, n));
            text.push_back("");
            if (reader->IsEmptyElement()) {
                out->push_back({path, ""});
                path.pop_back();
                text.pop_back();
                rootClosed = path.empty();
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
            rootClosed = path.empty();
            break;
        default:
            break;
        }
        if (out->size() > 10000) {
            *why = "more than 10000 elements";
            ok = false;
        }
    }
    if (ok && FAILED(hr) && rootClosed && OnlyMiscAfterRoot(view, rootName)) {
        hr = S_FALSE; /* the sentinel after a whole document */
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
