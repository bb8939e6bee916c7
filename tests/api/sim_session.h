/*
 * A selected adapter served by the stand-in driver, for the tests of the
 * record-reading exports: records set and read back directly, typed
 * buffers with a guard area behind them, and the error log's reasons.
 */
#ifndef SIM_SESSION_H
#define SIM_SESSION_H

#include <initializer_list>
#include <string>
#include <vector>

#include "wlsession.h"

/* Registry adapter `nic` of variant v, the driver's adapter answering on its
 * device name, a fresh library with the adapter selected. The error log is
 * switched on for the session and removed afterwards. */
class SimSession {
public:
    explicit SimSession(const Variant &v, const char *nic = "0170")
        : s_(v, nic), reg(*s_.reg), lib(*s_.lib), sim(s_.sim)
    {
        EXPECT_EQ(WL_SUCCESS, s_.selected);
        RemoveFile("\\wlerr.txt");
        WL(lib, WLLogErrorNew)();
    }
    ~SimSession()
    {
        s_.Close();
        RemoveFile("\\wlerr.txt");
    }

    /* Stores a record: len, typ, values as given (len is not checked here,
     * so hostile lengths can be stored). */
    void Set(std::initializer_list<uint16_t> ltv) { Set(std::vector<uint16_t>(ltv)); }
    void Set(const std::vector<uint16_t> &ltv) { s_.SetRecord(ltv); }
    /* A string record with the given count word and bytes, padded to
     * `words` words of bytes (at least enough for the bytes). */
    void SetString(uint16_t typ, const std::string &bytes, int count = -1, int words = 0)
    {
        int need = (int)(bytes.size() + 1) / 2;
        if (words < need) words = need;
        std::vector<uint16_t> r(2 + 1 + words, 0);
        r[0] = (uint16_t)(words + 2);
        r[1] = typ;
        r[2] = (uint16_t)(count < 0 ? bytes.size() : count);
        memcpy(&r[3], bytes.data(), bytes.size());
        Set(r);
    }
    /* The stored record (len 0 when there is none). */
    std::vector<uint16_t> Get(uint16_t typ)
    {
        std::vector<uint16_t> r = SimRecord(sim, typ);
        return r.empty() ? std::vector<uint16_t>{0} : r;
    }
    /* Bytes of a stored string record. */
    std::string GetString(uint16_t typ)
    {
        std::vector<uint16_t> r = Get(typ);
        if (r.size() < 3) return "<none>";
        size_t n = r[2];
        if (n > 2 * (r.size() - 3)) return "<bad count>";
        return std::string((const char *)&r[3], n);
    }
    void Delete(uint16_t typ) { SimDeleteRecord(sim, typ); }
    /* Sets the port status record. */
    void Port(uint16_t status) { Set({2, 0xFD40, status}); }

    /* Whether the error log holds a line with this reason. */
    bool Logged(const std::string &reason) const
    {
        return ReadFile("\\wlerr.txt").find("[" + reason + "]") != std::string::npos;
    }
    /* The reason of the last exit line. */
    std::string Reason() const { return ReasonOf(lib.returnString()); }

private:
    AdapterSession s_;

public:
    RegAdapter &reg;
    WLLib &lib;
    int &sim;
};

#endif /* SIM_SESSION_H */
