#include "options/BuiltInServers.h"

namespace lumora {

// Public SNTP servers near the user first, then the large pools; web servers whose answers
// carry a reliable Date header.
BuiltInServers DefaultServerLists() {
    return {
        {L"ntp.nict.jp",          L"ntp.jst.mfeed.ad.jp", L"ntp1.jst.mfeed.ad.jp", L"ntp2.jst.mfeed.ad.jp",
         L"ntp3.jst.mfeed.ad.jp", L"time.google.com",     L"time1.google.com",     L"time2.google.com",
         L"time3.google.com",     L"time4.google.com",    L"time.cloudflare.com",  L"time.windows.com",
         L"time.apple.com",       L"pool.ntp.org",        L"jp.pool.ntp.org",      L"0.jp.pool.ntp.org",
         L"1.jp.pool.ntp.org",    L"2.jp.pool.ntp.org",   L"3.jp.pool.ntp.org",    L"asia.pool.ntp.org"},
        {L"www.nict.go.jp",     L"www.google.com",  L"www.google.co.jp",  L"www.yahoo.co.jp",
         L"www.microsoft.com",  L"www.apple.com",   L"www.amazon.co.jp",  L"www.wikipedia.org",
         L"www.nhk.or.jp",      L"www.jma.go.jp",   L"www.kantei.go.jp",  L"www.u-tokyo.ac.jp",
         L"www.kyoto-u.ac.jp",  L"www.ntt.com",     L"www.kddi.com",      L"www.softbank.jp",
         L"www.iij.ad.jp",      L"www.sony.co.jp",  L"www.panasonic.com", L"www.toyota.co.jp",
         L"www.hitachi.co.jp",  L"www.fujitsu.com", L"www.nec.com",       L"www.mozilla.org",
         L"www.debian.org",     L"www.w3.org",      L"www.ietf.org",      L"github.com",
         L"www.cloudflare.com", L"www.asahi.com",   L"www.nikkei.com",    L"www.jr-central.co.jp"},
    };
}

} // namespace lumora
