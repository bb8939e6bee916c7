/*
 * Fixture for the tests that drive the channel and the connection: one
 * registry adapter of the variant under test, selected in a freshly loaded
 * library, and a stand-in adapter answering on the device name that variant
 * opens. Helpers build records with guard words after them and read the
 * stand-in's state.
 */
#ifndef DRIVER_FIXTURE_H
#define DRIVER_FIXTURE_H

#include <initializer_list>
#include <memory>

#include "wlsession.h"

#define DRIVER_TEST_NIC "0160"

/* Fill word for values and guard words the library must not write. */
static const uint16_t kSentinel = 0xA5C3;

/*
 * A caller-owned record: len, typ, the values, then `guard` sentinel words
 * that no call may touch. ltv() hands it to the library.
 */
struct Record {
    std::vector<uint16_t> w;
    Record(uint16_t len, uint16_t typ, std::initializer_list<uint16_t> vals, size_t guard = 4)
    {
        w.assign(2 + (len >= 1 ? len - 1 : 0) + guard, kSentinel);
        w[0] = len;
        w[1] = typ;
        size_t i = 2;
        for (uint16_t v : vals) w[i++] = v;
    }
    /* A record of the values given, len counted from them. */
    static Record Of(uint16_t typ, std::initializer_list<uint16_t> vals, size_t guard = 4)
    {
        return Record((uint16_t)(vals.size() + 1), typ, vals, guard);
    }
    WL_LTV *ltv() { return reinterpret_cast<WL_LTV *>(w.data()); }
    /* Count of words from index `from` on that still hold the sentinel. */
    size_t SentinelsFrom(size_t from) const
    {
        size_t n = 0;
        for (size_t i = from; i < w.size(); i++) n += w[i] == kSentinel;
        return n;
    }
};

class DriverTest : public AdapterTest {
protected:
    DriverTest() : AdapterTest(DRIVER_TEST_NIC) {}

    WlSimAdapterState State() { return s_.State(); }
    /* The stand-in's stored record of type typ as words (empty if none). */
    std::vector<uint16_t> Stored(uint16_t typ, int maxWords = 64) { return SimRecord(sim_, typ, maxWords); }
    void Store(std::initializer_list<uint16_t> ltv)
    {
        std::vector<uint16_t> w(ltv);
        ASSERT_EQ(0, SimSetRecord(sim_, w.data())) << SimLastErrorText();
    }
    /* Writes a one-word record through WLGenericSet. */
    int Set1(uint16_t typ, uint16_t val)
    {
        Record r = Record::Of(typ, {val});
        return WL(lib(), WLGenericSet)(r.ltv());
    }

};

#endif /* DRIVER_FIXTURE_H */
