// The bar of the drop list: six adjacent buttons; the three that act on rows
// are enabled only while the list holds some.
#include "icon_bar_layout.h"

const IconBarLayout g_klokan98IconBar = {
    {
        {113, 0, 107, "Open", L"Execute Explorer", L"ｴｸｽﾌﾟﾛｰﾗ起動", false},
        {114, 32, 108, "DelItm", L"Delete Files", L"選択ﾌｧｲﾙ削除", true},
        {115, 64, 109, "DelAll", L"Delete All", L"全ﾌｧｲﾙ削除", true},
        {116, 96, 110, "Klkn", L"Change Timestamp", L"ﾀｲﾑｽﾀﾝﾌﾟ変更", true},
        {117, 128, 111, "About", L"About", L"御案内", false},
        {118, 160, 112, "Exit", L"Exit", L"終了", false},
    },
    358,  // bar x
    192,  // bar width
    20,   // bar height above SM_CYBORDER
    0,    // button top above SM_CYBORDER
};
