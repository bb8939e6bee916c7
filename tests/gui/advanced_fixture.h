/*
 * The "Wireless Advanced" page on an adapter of the stand-in driver:
 * registry adapter, driver adapter and the variant E co-installer with its
 * library, the adapter selected; the page opened on demand.
 */
#ifndef ADVANCED_FIXTURE_H
#define ADVANCED_FIXTURE_H

#include <memory>

#include "coinstaller/res/resource.h"
#include "page_harness.h"

class AdvancedPageTest : public testing::Test {
protected:
    static constexpr const char *kNic = "0160";

    void SetUp() override
    {
        reg_.reset(new RegAdapter(AdapterSpec(kNic, "Wireless LAN PC Card", true, 'E')));
        coinst_.reset(new CoInstaller('E'));
        lib_.reset(new WLLib(kVariants[2]));
        sim_ = SimAdapterFor(*reg_, kVariants[2]);
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentNICSet)(kNic, 4));
        /* Transmit rates of both bands as the dual-band firmware keeps them. */
        Set({3, 0xFC84, 0x0F5F, 0x0F50});
    }
    void TearDown() override
    {
        sheet_.reset();
        if (ctx_) HeapFree(GetProcessHeap(), 0, ctx_);
        ctx_ = NULL;
        lib_.reset();
        coinst_.reset();
        reg_.reset();
    }

    /* Opens the page from the given resource module (the co-installer's
     * own when NULL). */
    void Open(HINSTANCE resources = NULL)
    {
        ctx_ = NewContext(kNic);
        DLGPROC proc = coinst_->proc("NicSpecificDlgProc");
        ASSERT_TRUE(proc != NULL);
        sheet_.reset(new PageSheet(resources ? resources : coinst_->module(), IDD_WIRELESS_ADVANCED,
                                   IDS_WIRELESS_ADVANCED, proc, ctx_));
        ASSERT_TRUE(sheet_->page() != NULL);
    }
    PageSheet &page() { return *sheet_; }

    void Set(const std::vector<uint16_t> &ltv) { EXPECT_EQ(0, SimSetRecord(sim_, ltv.data())) << SimLastErrorText(); }
    std::vector<uint16_t> Rec(uint16_t typ) { return SimRecord(sim_, typ); }
    WLLib &lib() { return *lib_; }

    /* Operations and types of the exchanges since the log was cleared. */
    std::vector<WlSimExchange> Exchanges()
    {
        WlSimExchangeLog log;
        memset(&log, 0, sizeof log);
        EXPECT_EQ(0, SimLastExchanges(&log));
        EXPECT_LE(log.total, (uint32_t)WLSIM_LOG_KEEP) << "exchange log overflowed";
        return std::vector<WlSimExchange>(log.e, log.e + log.n);
    }
    static std::vector<uint16_t> PutTypes(const std::vector<WlSimExchange> &x)
    {
        std::vector<uint16_t> t;
        for (const WlSimExchange &e : x)
            if (e.op == WLSIM_OP_PUT_INFO) t.push_back(e.typ);
        return t;
    }
    /* Rate mask shown by a row's boxes. */
    unsigned RowMask(int first)
    {
        unsigned m = 0;
        for (int bit = 0; bit < 12; bit++)
            if (page().checked(first + bit)) m |= 1u << bit;
        return m;
    }

    std::unique_ptr<RegAdapter> reg_;
    std::unique_ptr<CoInstaller> coinst_;
    std::unique_ptr<WLLib> lib_;
    std::unique_ptr<PageSheet> sheet_;
    AdapterPageContext *ctx_ = NULL;
    int sim_ = -1;
};

#endif
