// The bar of the folder browser: Up One Level stands apart from the five
// commands that act on the selection.
#include "icon_bar_layout.h"

const IconBarLayout g_klokan99IconBar = {
    {
        {116, 0, 110, "DirUp", L"Up One Level", L"上のﾌｫﾙﾀﾞｰへ", false},
        {117, 43, 111, "Klkn", L"Change Timestamp", L"ﾀｲﾑｽﾀﾝﾌﾟ変更", false},
        {118, 75, 112, "Attrb", L"Attributes", L"属性変更", false},
        {119, 107, 113, "Char", L"Letters", L"文字変更", false},
        {120, 139, 114, "About", L"About", L"御案内", false},
        {121, 171, 115, "Exit", L"Exit", L"終了", false},
    },
    347,  // bar x
    203,  // bar width
    30,   // bar height above SM_CYBORDER
    4,    // button top above SM_CYBORDER
};
