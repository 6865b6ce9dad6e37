// The bar of the folder browser: Up One Level stands apart from the five
// commands that act on the selection.
#include "icon_bar_layout.h"

const IconBarLayout g_klokan99IconBar = {
    {
        {116, 0, 110, "DirUp", "Up One Level", "上のﾌｫﾙﾀﾞｰへ", false},
        {117, 43, 111, "Klkn", "Change Timestamp", "ﾀｲﾑｽﾀﾝﾌﾟ変更", false},
        {118, 75, 112, "Attrb", "Attributes", "属性変更", false},
        {119, 107, 113, "Char", "Letters", "文字変更", false},
        {120, 139, 114, "About", "About", "御案内", false},
        {121, 171, 115, "Exit", "Exit", "終了", false},
    },
    347,  // bar x
    203,  // bar width
    30,   // bar height above SM_CYBORDER
    4,    // button top above SM_CYBORDER
};
