#include "tables/orvane_rec.h"

const wchar_t* const kDefaultStatusText = L"【×】動作スペックを満たしていません。";

OrvaneRec::OrvaneRec() {
    columns[glVerdict] = L"0";
    columns[statusText] = kDefaultStatusText;
}
