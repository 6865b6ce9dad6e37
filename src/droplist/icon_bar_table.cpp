// The bar of the drop list: six adjacent buttons; the three that act on rows
// are enabled only while the list holds some.
#include "icon_bar_layout.h"

const IconBarLayout g_klokan98IconBar = {
    {
        {113, 0, 107, "Open", "Execute Explorer", "ｴｸｽﾌﾟﾛｰﾗ起動", false},
        {114, 32, 108, "DelItm", "Delete Files", "選択ﾌｧｲﾙ削除", true},
        {115, 64, 109, "DelAll", "Delete All", "全ﾌｧｲﾙ削除", true},
        {116, 96, 110, "Klkn", "Change Timestamp", "ﾀｲﾑｽﾀﾝﾌﾟ変更", true},
        {117, 128, 111, "About", "About", "御案内", false},
        {118, 160, 112, "Exit", "Exit", "終了", false},
    },
    358,  // bar x
    192,  // bar width
    20,   // bar height above SM_CYBORDER
    0,    // button top above SM_CYBORDER
};
