#include "check/advice.h"

#include <algorithm>
#include <string>

#include "probes/software_renderer.h"

namespace {

// What the causes are told apart by, read once from the result.
struct Shortfall {
    bool fellShort = false;  // no row was met
    bool osVersion = false;  // of a row tried
    bool architecture = false;
    bool armWindows = false;  // the architecture that fell short names ARM
    bool graphics = false;
    bool noGraphics = false;  // no rendering context at all: every string empty
    bool driverHung = false;    // the driver did not answer in time
    bool driverFailed = false;  // the driver crashed while it was asked
    std::wstring softwareRenderer;
    bool remoteSession = false;
    bool productMissing = false;  // a row was met, its program is not there
    std::wstring productPath;
    size_t metCondition = 0;  // the met row's "条件 N" when rows before it were tried, else 0
};

bool AnyFellShort(const std::vector<RowRequirements>& tried, OrvaneRec::Column column) {
    return std::any_of(tried.begin(), tried.end(), [column](const RowRequirements& row) {
        return std::any_of(row.lines.begin(), row.lines.end(),
                           [column](const RequirementLine& l) { return l.column == column && l.fellShort; });
    });
}

// Windows on ARM words its architecture "ARM 64-bit Processor" or, localized,
// "ARM64 ベース プロセッサ": ARM, in any letter case and width, not inside a longer word.
bool NamesArm(const std::wstring& text) {
    const auto fold = [](wchar_t c) -> wchar_t {
        if (c >= L'\xFF21' && c <= L'\xFF5A') c = static_cast<wchar_t>(c - 0xFEE0);  // full-width Latin
        return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    };
    const auto isLetter = [&fold](wchar_t c) { return fold(c) >= L'A' && fold(c) <= L'Z'; };
    for (size_t i = 0; i + 3 <= text.size(); ++i) {
        if (fold(text[i]) != L'A' || fold(text[i + 1]) != L'R' || fold(text[i + 2]) != L'M') continue;
        const bool startsWord = i == 0 || !isLetter(text[i - 1]);
        const bool endsWord = i + 3 == text.size() || !isLetter(text[i + 3]);
        if (startsWord && endsWord) return true;
    }
    return false;
}

bool ArchitectureNamesArm(const std::vector<RowRequirements>& tried) {
    for (const RowRequirements& row : tried)
        for (const RequirementLine& l : row.lines)
            if (l.column == OrvaneRec::osArchitecture && l.fellShort &&
                std::any_of(l.found.begin(), l.found.end(), NamesArm))
                return true;
    return false;
}

Shortfall ReadShortfall(const CheckResult& result, const std::vector<RowRequirements>& tried) {
    Shortfall s;
    if (!result.evaluated) return s;
    const OrvaneRec& run = result.runRecord;
    s.fellShort = !result.passed;
    s.osVersion = AnyFellShort(tried, OrvaneRec::minOsVersion);
    s.architecture = AnyFellShort(tried, OrvaneRec::osArchitecture);
    s.armWindows = ArchitectureNamesArm(tried);
    s.graphics = AnyFellShort(tried, OrvaneRec::minGlVersion);
    s.noGraphics = std::all_of(run.glInfo.begin(), run.glInfo.end(), [](const std::wstring& t) { return t.empty(); });
    s.driverHung = result.graphics == GraphicsReading::Outcome::DriverHung;
    s.driverFailed = result.graphics == GraphicsReading::Outcome::DriverFailed;
    s.softwareRenderer = SoftwareRendererHint(run.glInfo);
    s.remoteSession = result.remoteSession;
    s.productMissing = result.passed && !result.exeExists;
    s.productPath = result.exeDir + run.columns[OrvaneRec::exeName];
    // "条件 N" numbers the rows in the order tried, as the report's requirement block does.
    const auto met = std::find(result.triedLines.begin(), result.triedLines.end(), run.line);
    if (s.productMissing && result.triedLines.size() > 1 && met != result.triedLines.end())
        s.metCondition = static_cast<size_t>(met - result.triedLines.begin()) + 1;
    return s;
}

struct Cause {
    const wchar_t* code;
    bool (*applies)(const Shortfall&);
    std::wstring (*text)(const Shortfall&);
};

const Cause kCauses[] = {
    {L"software-renderer",
     [](const Shortfall& s) { return s.fellShort && s.graphics && !s.softwareRenderer.empty(); },
     [](const Shortfall& s) {
         return L"グラフィックス ドライバーが使われていません（ソフトウェア レンダラー " + s.softwareRenderer +
                L" で描画されています）。リモート デスクトップ接続や仮想マシンで実行しているか、ドライバーが"
                L"入っていないことが考えられます。グラフィックス メーカーのドライバーをインストールまたは更新するか、"
                L"PC 本体で直接実行してください。";
     }},
    {L"remote-session", [](const Shortfall& s) { return s.fellShort && s.graphics && s.remoteSession; },
     [](const Shortfall&) {
         return std::wstring(L"リモート デスクトップ接続で実行されているため、PC のグラフィックス機能を使用できません。"
                             L"PC 本体で直接実行してください。");
     }},
    {L"os-version", [](const Shortfall& s) { return s.fellShort && s.osVersion; },
     [](const Shortfall&) {
         return std::wstring(L"Windows のバージョンが動作スペックより古くなっています。"
                             L"Windows Update で Windows を更新してください。");
     }},
    {L"os-architecture-arm", [](const Shortfall& s) { return s.fellShort && s.architecture && s.armWindows; },
     [](const Shortfall&) {
         return std::wstring(L"この製品は ARM 版の Windows には対応していません。"
                             L"x64 版の Windows を搭載した PC で実行してください。");
     }},
    {L"os-architecture", [](const Shortfall& s) { return s.fellShort && s.architecture && !s.armWindows; },
     [](const Shortfall&) { return std::wstring(L"この製品には 64 ビット版の Windows が必要です。"); }},
    {L"graphics-driver-failed",
     [](const Shortfall& s) { return s.fellShort && s.graphics && (s.driverHung || s.driverFailed); },
     [](const Shortfall& s) {
         return std::wstring(s.driverHung ? L"グラフィックス ドライバーが応答しませんでした（OpenGL の情報を返さないまま"
                                            L"止まっています）。"
                                          : L"グラフィックス ドライバーが OpenGL の情報を返す途中で異常終了しました。") +
                L"グラフィックス メーカーのドライバーを最新のものに更新してください。";
     }},
    // All that empty strings can say when the driver itself did not fail.
    {L"no-graphics",
     [](const Shortfall& s) { return s.fellShort && s.graphics && s.noGraphics && !s.driverHung && !s.driverFailed; },
     [](const Shortfall&) {
         return std::wstring(L"OpenGL を使用できませんでした。グラフィックス ドライバーが入っていないか、"
                             L"正しく動作していません。グラフィックス メーカーのドライバーをインストールまたは"
                             L"更新してください。");
     }},
    {L"product-missing", [](const Shortfall& s) { return s.productMissing; },
     [](const Shortfall& s) {
         // Rows tried before it fell short and marked the report: say which one was met.
         const std::wstring met =
             s.metCondition != 0 ? L"動作スペック（条件 " + std::to_wstring(s.metCondition) + L"）" : L"動作スペック";
         return met + L"は満たしていますが、製品のプログラム（" + s.productPath +
                L"）が見つかりません。製品を再セットアップしてください。";
     }},
};

}  // namespace

std::vector<Advice> AdviceFor(const CheckResult& result, const std::vector<RowRequirements>& tried) {
    const Shortfall shortfall = ReadShortfall(result, tried);
    std::vector<Advice> advice;
    for (const Cause& cause : kCauses)
        if (cause.applies(shortfall)) advice.push_back({cause.code, cause.text(shortfall)});
    return advice;
}

std::vector<std::wstring> AdviceCodes() {
    std::vector<std::wstring> codes;
    for (const Cause& cause : kCauses) codes.push_back(cause.code);
    return codes;
}

std::wstring AdviceTextOf(const std::wstring& code, const std::wstring& detail) {
    Shortfall shortfall;
    shortfall.softwareRenderer = detail;
    shortfall.productPath = detail;
    for (const Cause& cause : kCauses)
        if (code == cause.code) return cause.text(shortfall);
    return std::wstring();
}
