/* A small JSON writer (one document built as text) and a reader that the
 * tests use to take the tool's output apart again. */
#ifndef WLCFG_JSON_H
#define WLCFG_JSON_H

#include <map>
#include <memory>
#include <string>
#include <vector>

class JsonWriter {
public:
    JsonWriter &beginObject();
    JsonWriter &endObject();
    JsonWriter &beginArray();
    JsonWriter &endArray();
    JsonWriter &key(const std::string &k);
    JsonWriter &value(const std::string &s);
    JsonWriter &value(const char *s) { return value(std::string(s)); }
    JsonWriter &value(long long n);
    JsonWriter &value(int n) { return value((long long)n); }
    JsonWriter &value(unsigned n) { return value((long long)n); }
    JsonWriter &value(double d);
    JsonWriter &value(bool b);
    JsonWriter &null();
    /* key and value in one */
    template <typename T> JsonWriter &field(const std::string &k, T v) { return key(k).value(v); }
    const std::string &text() const { return out_; }

private:
    void separate();
    std::string out_;
    std::vector<bool> first_; /* per open container: nothing written yet */
    bool afterKey_ = false;
};

/* Escapes a byte string for a JSON string literal (without the quotes);
 * bytes that are not printable ASCII become \u00XX. */
std::string JsonEscape(const std::string &s);

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool b = false;
    double n = 0;
    std::string s;
    std::vector<JsonValue> a;
    std::map<std::string, JsonValue> o;
    const JsonValue &operator[](const std::string &k) const;
    const JsonValue &operator[](size_t i) const;
};

/* Parses one document; false on any error (depth limited to 64). */
bool JsonParse(const std::string &text, JsonValue *out);

#endif
