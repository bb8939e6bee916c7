/*
 * The one set-up of the end-to-end tests: a registry adapter of the variant
 * under test, a stand-in adapter answering on the device name that variant
 * opens, and a freshly loaded library with the adapter selected. Used as a
 * fixture (AdapterTest) or as an object of a test's own (AdapterSession).
 */
#ifndef WLTEST_WLSESSION_H
#define WLTEST_WLSESSION_H

#include <memory>

#include "wltest.h"

struct AdapterSession {
    AdapterSession() = default;
    AdapterSession(const Variant &v, const std::string &nic, const std::string &description = "Wireless LAN PC Card")
    {
        Open(v, nic, description);
    }
    ~AdapterSession() { Close(); }

    /* Sets everything up; the selection's result is `selected`. */
    void Open(const Variant &v, const std::string &nic, const std::string &description);
    /* Leaves the stand-in without a handle of this library (a connection
     * still open is applied and closed), unloads it, removes the adapter. */
    void Close();

    /* The stand-in's stored record of type typ, len word first; empty when
     * the adapter has none. */
    std::vector<uint16_t> Record(uint16_t typ, int maxWords = WLSIM_LTV_MAX_LEN + 1) const
    {
        return SimRecord(sim, typ, maxWords);
    }
    /* Stores a record as given (len is not checked, so hostile lengths can
     * be stored). */
    void SetRecord(const std::vector<uint16_t> &ltv) const;
    WlSimAdapterState State() const;

    Variant v = {'E', 5};
    std::unique_ptr<RegAdapter> reg;
    std::unique_ptr<WLLib> lib;
    int sim = -1;
    int selected = -1; /* WLCurrentNICSet's result */
};

/* Fixture: one AdapterSession per test, parameterised by the variant. */
class AdapterTest : public testing::TestWithParam<Variant> {
protected:
    explicit AdapterTest(const char *nic = "0160", const char *description = "Wireless LAN PC Card")
        : nic_(nic), description_(description)
    {
    }
    void SetUp() override
    {
        s_.Open(GetParam(), nic_, description_);
        ASSERT_EQ(WL_SUCCESS, s_.selected) << (lib_ ? lib_->returnString() : "no library");
    }
    void TearDown() override { s_.Close(); }

    WLLib &lib() { return *lib_; }
    bool cd() const { return v_.cd(); }
    std::string why() const { return lib_->returnString(); }
    /* A call's result rc is `code`, refused for `reason`. */
    void ExpectRefused(int rc, int code, const std::string &reason, const char *file = __builtin_FILE(),
                       int line = __builtin_LINE())
    {
        ::ExpectRefused(*lib_, rc, code, reason, file, line);
    }

    std::string nic_, description_;
    AdapterSession s_;
    /* The session's parts under the names the tests use. */
    Variant &v_ = s_.v;
    std::unique_ptr<RegAdapter> &reg_ = s_.reg;
    std::unique_ptr<WLLib> &lib_ = s_.lib;
    int &sim_ = s_.sim;
};

#endif /* WLTEST_WLSESSION_H */
