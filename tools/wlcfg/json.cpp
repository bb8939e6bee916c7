#include "json.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

std::string JsonEscape(const std::string &s)
{
    std::string o;
    for (unsigned char c : s) {
        switch (c) {
        case '"': o += "\\\""; break;
        case '\\': o += "\\\\"; break;
        case '\n': o += "\\n"; break;
        case '\r': o += "\\r"; break;
        case '\t': o += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                char b[8];
                snprintf(b, sizeof b, "\\u%04x", c);
                o += b;
            } else {
                o += (char)c;
            }
        }
    }
    return o;
}

void JsonWriter::separate()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ",";
        first_.back() = false;
    }
}

JsonWriter &JsonWriter::beginObject()
{
    separate();
    out_ += "{";
    first_.push_back(true);
    return *this;
}

JsonWriter &JsonWriter::endObject()
{
    first_.pop_back();
    out_ += "}";
    return *this;
}

JsonWriter &JsonWriter::beginArray()
{
    separate();
    out_ += "[";
    first_.push_back(true);
    return *this;
}

JsonWriter &JsonWriter::endArray()
{
    first_.pop_back();
    out_ += "]";
    return *this;
}

JsonWriter &JsonWriter::key(const std::string &k)
{
    separate();
    out_ += "\"" + JsonEscape(k) + "\":";
    afterKey_ = true;
    return *this;
}

JsonWriter &JsonWriter::value(const std::string &s)
{
    separate();
    out_ += "\"" + JsonEscape(s) + "\"";
    return *this;
}

JsonWriter &JsonWriter::value(long long n)
{
    separate();
    out_ += std::to_string(n);
    return *this;
}

JsonWriter &JsonWriter::value(double d)
{
    separate();
    char b[32];
    snprintf(b, sizeof b, "%.3f", d);
    /* trailing zeros off, but keep one digit after the point */
    std::string t = b;
    while (t.size() > 2 && t.back() == '0' && t[t.size() - 2] != '.') t.pop_back();
    out_ += t;
    return *this;
}

JsonWriter &JsonWriter::value(bool b)
{
    separate();
    out_ += b ? "true" : "false";
    return *this;
}

JsonWriter &JsonWriter::null()
{
    separate();
    out_ += "null";
    return *this;
}

/* ---- reader ---- */

static const JsonValue kNull;

const JsonValue &JsonValue::operator[](const std::string &k) const
{
    auto it = o.find(k);
    return it == o.end() ? kNull : it->second;
}

const JsonValue &JsonValue::operator[](size_t i) const
{
    return i < a.size() ? a[i] : kNull;
}

namespace {
struct Reader {
    const std::string &t;
    size_t p = 0;
    void ws()
    {
        while (p < t.size() && (t[p] == ' ' || t[p] == '\n' || t[p] == '\r' || t[p] == '\t')) p++;
    }
    bool lit(const char *w)
    {
        size_t n = strlen(w);
        if (t.compare(p, n, w) != 0) return false;
        p += n;
        return true;
    }
    bool str(std::string *o)
    {
        if (p >= t.size() || t[p] != '"') return false;
        p++;
        while (p < t.size() && t[p] != '"') {
            char c = t[p++];
            if (c != '\\') {
                *o += c;
                continue;
            }
            if (p >= t.size()) return false;
            c = t[p++];
            switch (c) {
            case 'n': *o += '\n'; break;
            case 'r': *o += '\r'; break;
            case 't': *o += '\t'; break;
            case 'u': {
                if (p + 4 > t.size()) return false;
                unsigned v = 0;
                if (sscanf(t.substr(p, 4).c_str(), "%4x", &v) != 1 || v > 0xFF) return false;
                *o += (char)v;
                p += 4;
                break;
            }
            default: *o += c;
            }
        }
        if (p >= t.size()) return false;
        p++;
        return true;
    }
    bool val(JsonValue *v, int depth)
    {
        if (depth > 64) return false;
        ws();
        if (p >= t.size()) return false;
        char c = t[p];
        if (c == '{') {
            p++;
            v->kind = JsonValue::Object;
            ws();
            if (p < t.size() && t[p] == '}') return ++p, true;
            for (;;) {
                ws();
                std::string k;
                if (!str(&k)) return false;
                ws();
                if (p >= t.size() || t[p++] != ':') return false;
                if (!val(&v->o[k], depth + 1)) return false;
                ws();
                if (p >= t.size()) return false;
                if (t[p] == ',') { p++; continue; }
                if (t[p] == '}') return ++p, true;
                return false;
            }
        }
        if (c == '[') {
            p++;
            v->kind = JsonValue::Array;
            ws();
            if (p < t.size() && t[p] == ']') return ++p, true;
            for (;;) {
                v->a.emplace_back();
                if (!val(&v->a.back(), depth + 1)) return false;
                ws();
                if (p >= t.size()) return false;
                if (t[p] == ',') { p++; continue; }
                if (t[p] == ']') return ++p, true;
                return false;
            }
        }
        if (c == '"') {
            v->kind = JsonValue::String;
            return str(&v->s);
        }
        if (lit("true")) { v->kind = JsonValue::Bool; v->b = true; return true; }
        if (lit("false")) { v->kind = JsonValue::Bool; return true; }
        if (lit("null")) return true;
        char *end = nullptr;
        v->n = strtod(t.c_str() + p, &end);
        if (end == t.c_str() + p) return false;
        v->kind = JsonValue::Number;
        p = end - t.c_str();
        return true;
    }
};
} // namespace

bool JsonParse(const std::string &text, JsonValue *out)
{
    Reader r{text};
    *out = JsonValue();
    if (!r.val(out, 0)) return false;
    r.ws();
    return r.p == text.size();
}
