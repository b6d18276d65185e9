// The twice-a-second status: the local clock and the address box's colours;
// and the once-a-second schedule.

#include "product.h"
#include "ui/captions.h"

namespace e2e {
namespace {

const Rgb kGreen{0, 255, 0};
const Rgb kRed{255, 0, 0};
const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};
const RECT kAddressInside{26, 146, 223, 160};
const RECT k网络时间{8, 56, 409, 105};

struct Look {
  Rgb back, text;
};

class StatusTest : public ProductTest {
 protected:
  // The address box shows `look` and 网络时间 is drawn in `caption`.
  bool WaitForLook(const Look& look, const Rgb& caption) const {
    return WaitFor([&] {
      const auto image = CaptureClient(window_);
      if (!image) return false;
      const int area = (kAddressInside.right - kAddressInside.left) *
                       (kAddressInside.bottom - kAddressInside.top);
      return image->CountColor(look.back, kAddressInside) > area / 2 &&
             // Wide: the user-interface font is anti-aliased, so few of
             // its pixels are the text colour itself.
             image->CountColor(look.text, kAddressInside, 110) > 20 &&
             image->CountColor(caption, k网络时间) > 300;
    });
  }
};

TEST_F(StatusTest, AddressBoxFollowsTheServersAnswers) {
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  EXPECT_TRUE(WaitForLook({kGreen, kBlack}, kGreen)) << "answering server";
  TypeAddress(L"127.0.0.9");
  EXPECT_TRUE(WaitForLook({kRed, kWhite}, kRed)) << "silent server";
  TypeAddress(L"127.0.0.1");
  EXPECT_TRUE(WaitForLook({kGreen, kBlack}, kGreen)) << "answering again";
  TypeAddress(L"not an address");
  EXPECT_TRUE(WaitForLook({kRed, kWhite}, kRed)) << "malformed address";
}

TEST_F(StatusTest, LocalClockShowsTheTimeAndAdvances) {
  Start();
  WaitUntilShown();
  const auto isClockCaption = [](const std::wstring& caption) {
    return IsTimeCaption(caption, L"本机时间 ");
  };
  std::wstring first;
  ASSERT_TRUE(WaitFor([&] { return isClockCaption(first = TextOf(id本机时间)); }))
      << ToCodePage(first, CP_UTF8);
  EXPECT_TRUE(WaitFor([&] {
    const std::wstring now = TextOf(id本机时间);
    return isClockCaption(now) && now != first;
  }));
}

TEST_F(StatusTest, ScheduledSyncRunsWhenTheIntervalHasPassed) {
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  SendHScroll(ControlOf(id滚动条), SB_THUMBPOSITION, 1);
  ASSERT_EQ(TextOf(idLabel4), IntervalCaption(1));
  // The real timer adds its own ticks, at most a few while these are sent;
  // 60 driven ticks therefore reach the interval, and no second one follows.
  TickTimer2(60);
  ASSERT_TRUE(WaitFor([&] { return !NetCalls().empty(); }));
  EXPECT_EQ(NetCalls().size(), 1u);
  EXPECT_EQ(NetCalls()[0].cmd, L"net time \\\\127.0.0.1 /set /yes");
}

TEST_F(StatusTest, IntervalZeroNeverSyncs) {
  Start();
  WaitUntilShown();
  TypeAddress(L"127.0.0.1");
  SendHScroll(ControlOf(id滚动条), SB_THUMBPOSITION, 0);
  TickTimer2(200);
  EXPECT_EQ(TextOf(id网络时间), kNoIntervalCaption);
  // Proof that a start would have been seen: one press logs one call.
  Click(ControlOf(idCommand2));
  ASSERT_TRUE(WaitFor([&] { return !NetCalls().empty(); }));
  EXPECT_EQ(NetCalls().size(), 1u);
}

}  // namespace
}  // namespace e2e
