#include "fleet/intune_compliance.h"

#include <algorithm>
#include <array>

#include "check/advice.h"
#include "check/requirements.h"
#include "fleet/recorded_facts.h"
#include "probes/software_renderer.h"
#include "tables/number_text.h"

namespace {

const wchar_t* const kActualValue = L"{ActualValue}";
// A String cause's value when it does not apply: an operand is never empty.
const wchar_t* const kNoCause = L"none";

// The users' words for each cause of the advice table. Japanese comes from
// that table itself; a cause with a detail (the renderer, the program's path)
// is a String setting holding it, and Intune puts it in for {ActualValue}.
struct CauseWords {
    const wchar_t* code;
    const wchar_t* jaTitle;
    const wchar_t* enTitle;
    const wchar_t* en;
    std::wstring (*detail)(const CheckResult&);  // null: a Boolean setting
    const wchar_t* ja;                           // null: the advice table's text
};

std::wstring ProgramPath(const CheckResult& r) { return r.exeDir + r.runRecord.columns[OrvaneRec::exeName]; }
std::wstring Renderer(const CheckResult& r) { return SoftwareRendererHint(r.runRecord.glInfo); }

const CauseWords kCauseWords[] = {
    {L"software-renderer", L"グラフィックス ドライバー", L"Graphics driver",
     L"No graphics driver is in use: the picture is drawn by the software renderer {ActualValue}. This usually "
     L"means a Remote Desktop session, a virtual machine or a missing driver. Install or update the driver from "
     L"the maker of your graphics card, or run the product on the PC itself.",
     Renderer, nullptr},
    {L"remote-session", L"リモート デスクトップ", L"Remote Desktop",
     L"This PC is being used over Remote Desktop, so its own graphics hardware is not available. Run the product "
     L"on the PC itself.",
     nullptr, nullptr},
    {L"os-version", L"Windows のバージョン", L"Windows version",
     L"This version of Windows is older than the product needs. Update Windows with Windows Update.", nullptr,
     nullptr},
    {L"os-architecture", L"64 ビット版の Windows", L"64-bit Windows",
     L"The product needs the 64-bit edition of Windows.", nullptr, nullptr},
    {L"os-architecture-arm", L"Windows のアーキテクチャ", L"Processor architecture",
     L"The product does not run on Windows for ARM processors. It needs a PC with an x64 (Intel or AMD) processor.",
     nullptr, nullptr},
    {L"graphics-driver-failed", L"グラフィックス ドライバー", L"Graphics driver",
     L"The graphics driver stopped responding or crashed while it was asked for its OpenGL details. Update the "
     L"driver to the latest version from the maker of your graphics card.",
     nullptr,
     L"グラフィックス ドライバーが OpenGL の情報を返さないまま止まったか、異常終了しました。"
     L"グラフィックス メーカーのドライバーを最新のものに更新してください。"},
    {L"no-graphics", L"OpenGL", L"OpenGL",
     L"OpenGL could not be used: the graphics driver is missing or not working properly. Install or update the "
     L"driver from the maker of your graphics card.",
     nullptr, nullptr},
    {L"product-missing", L"製品のプログラム", L"The product's program",
     L"The PC meets the requirements, but the product's program ({ActualValue}) is missing. Reinstall the product.",
     ProgramPath, nullptr},
};

const CauseWords* WordsOf(const std::wstring& code) {
    for (const CauseWords& words : kCauseWords)
        if (code == words.code) return &words;
    return nullptr;
}

// "software-renderer" -> "SoftwareRenderer"
std::wstring Camel(const std::wstring& code) {
    std::wstring name;
    bool upper = true;
    for (wchar_t c : code) {
        if (c == L'-') {
            upper = true;
            continue;
        }
        name += upper && c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
        upper = false;
    }
    return name;
}

const wchar_t* ColumnName(OrvaneRec::Column column) {
    switch (column) {
        case OrvaneRec::minOsVersion:
            return L"MinOsVersion";
        case OrvaneRec::osArchitecture:
            return L"OsArchitecture";
        default:
            return L"MinGlVersion";
    }
}

// The leading dotted number of a text, as Intune reads a Version: "4.6.0"
// of "4.6.0 NVIDIA 546.33"; "0.0" when there is none.
std::wstring VersionPart(const std::wstring& text) {
    size_t end = 0;
    while (end < text.size() && ((text[end] >= L'0' && text[end] <= L'9') || text[end] == L'.')) ++end;
    std::wstring version = text.substr(0, end);
    while (!version.empty() && version.back() == L'.') version.pop_back();
    if (version.empty() || version[0] == L'.') return L"0.0";
    return version.find(L'.') == std::wstring::npos ? version + L".0" : version;
}

std::array<int32_t, 3> Components(const std::wstring& version) {
    std::array<int32_t, 3> parts{};
    size_t at = 0;
    for (int32_t& part : parts) {
        if (at > version.size()) break;
        part = LeadingInt(std::wstring_view(version).substr(at));
        const size_t dot = version.find(L'.', at);
        at = dot == std::wstring::npos ? version.size() + 1 : dot + 1;
    }
    return parts;
}

// The least any row asks: below it, no row can be met.
std::wstring LeastOsVersion(const std::vector<OrvaneRec>& rows) {
    std::wstring least;
    for (const OrvaneRec& row : rows) {
        const std::wstring& v = row.columns[OrvaneRec::minOsVersion];
        if (!v.empty() && (least.empty() || Components(v) < Components(least))) least = v;
    }
    return VersionPart(least);
}

std::wstring LeastGlVersion(const std::vector<OrvaneRec>& rows) {
    std::wstring least;
    for (const OrvaneRec& row : rows) {
        const std::wstring& v = row.columns[OrvaneRec::minGlVersion];
        if (!v.empty() && (least.empty() || v < least)) least = v;
    }
    return VersionPart(least);
}

// How many requirement settings of a column: one per property the query table compares with it.
size_t CheckedProperties(const CheckResult& result, OrvaneRec::Column column) {
    if (column == OrvaneRec::minGlVersion) return 1;
    size_t count = 0;
    for (const auto& query : result.queryTable.queries)
        if (query)
            for (const auto& prop : query->props) count += prop && prop->checkIndex == column ? 1 : 0;
    return count;
}

const OrvaneRec::Column kRequirementColumns[] = {OrvaneRec::minOsVersion, OrvaneRec::osArchitecture,
                                                 OrvaneRec::minGlVersion};

std::wstring Bool(bool value) { return value ? L"true" : L"false"; }

}  // namespace

const wchar_t* IntuneDataTypeName(IntuneDataType type) {
    switch (type) {
        case IntuneDataType::Boolean:
            return L"Boolean";
        case IntuneDataType::Int64:
            return L"Int64";
        case IntuneDataType::Version:
            return L"Version";
        case IntuneDataType::String:
            break;
    }
    return L"String";
}

std::vector<IntuneSetting> IntuneSettingsOf(const CheckResult& result, int exitCode) {
    using Kind = IntuneSetting::Kind;
    std::vector<IntuneSetting> settings;
    const auto add = [&](Kind kind, std::wstring name, IntuneDataType type, std::wstring value) -> IntuneSetting& {
        IntuneSetting setting;
        setting.kind = kind;
        setting.name = L"Orvane" + std::move(name);
        setting.type = type;
        setting.value = std::move(value);
        settings.push_back(std::move(setting));
        return settings.back();
    };
    add(Kind::Verdict, L"Verdict", IntuneDataType::String,
        exitCode == 0 ? L"meets" : exitCode == 1 ? L"falls-short" : L"no-verdict");
    add(Kind::ExitCode, L"ExitCode", IntuneDataType::Int64, std::to_wstring(exitCode));
    add(Kind::MeetsRow, L"MeetsRow", IntuneDataType::Boolean, Bool(result.evaluated && result.passed));
    add(Kind::OsVersion, L"OsVersion", IntuneDataType::Version, VersionPart(RecordedOsVersion(result.recorded)));
    add(Kind::GlVersion, L"GlVersion", IntuneDataType::Version,
        VersionPart(result.runRecord.glInfo[OrvaneRec::glVersion]));

    // Each requirement of the selected row, else the table's first: met
    // unless it fell short; nothing is met where nothing was evaluated.
    const std::vector<RowRequirements> tried = TriedRowRequirements(result, L'.');
    const OrvaneRec* from = RequiredFromRow(result);
    const auto fromRow = std::find_if(tried.begin(), tried.end(),
                                      [&](const RowRequirements& row) { return from && row.line == from->line; });
    for (OrvaneRec::Column column : kRequirementColumns) {
        std::vector<bool> met;
        if (fromRow != tried.end())
            for (const RequirementLine& line : fromRow->lines)
                if (line.column == column) met.push_back(!line.fellShort);
        const bool asked = from && !from->columns[column].empty();
        for (size_t i = 0; i < CheckedProperties(result, column); ++i) {
            const bool value = result.evaluated && (!asked || (i < met.size() && met[i]));
            add(Kind::Requirement, L"Meets" + std::wstring(ColumnName(column)) + (i ? std::to_wstring(i + 1) : L""),
                IntuneDataType::Boolean, Bool(value))
                .column = column;
        }
    }

    const std::vector<Advice> advice = AdviceFor(result, tried);
    for (const std::wstring& code : AdviceCodes()) {
        const bool applies = std::any_of(advice.begin(), advice.end(), [&](const Advice& a) { return a.code == code; });
        const CauseWords* words = WordsOf(code);
        IntuneSetting& setting =
            words && words->detail
                ? add(Kind::Cause, L"Cause" + Camel(code), IntuneDataType::String,
                      applies ? words->detail(result) : std::wstring(kNoCause))
                : add(Kind::Cause, L"Cause" + Camel(code), IntuneDataType::Boolean, Bool(applies));
        setting.code = code;
    }
    return settings;
}

std::vector<IntuneRule> IntuneRulesOf(const CheckResult& result) {
    const OrvaneRec* row = RequiredFromRow(result);
    const OrvaneRec none;
    const OrvaneRec& r = row ? *row : none;
    const std::wstring& minOs = r.columns[OrvaneRec::minOsVersion];
    const std::wstring& arch = r.columns[OrvaneRec::osArchitecture];
    const std::wstring& minGl = r.columns[OrvaneRec::minGlVersion];
    const std::wstring bits = std::to_wstring(LeadingInt(arch));
    const std::wstring leastOs = LeastOsVersion(result.specRows);
    const std::wstring leastGl = LeastGlVersion(result.specRows);

    const auto jaNeeds = [&](OrvaneRec::Column column) -> std::wstring {
        switch (column) {
            case OrvaneRec::minOsVersion:
                return L"Windows " + minOs + L" 以上";
            case OrvaneRec::osArchitecture:
                return arch + L"版の Windows";
            default:
                return L"OpenGL " + minGl + L" 以上";
        }
    };
    const auto enNeeds = [&](OrvaneRec::Column column) -> std::wstring {
        switch (column) {
            case OrvaneRec::minOsVersion:
                return L"Windows " + minOs + L" or later";
            case OrvaneRec::osArchitecture:
                return L"the " + bits + L"-bit edition of Windows";
            default:
                return L"OpenGL " + minGl + L" or later";
        }
    };
    std::wstring jaAll, enAll;
    for (OrvaneRec::Column column : kRequirementColumns) {
        if (r.columns[column].empty()) continue;
        jaAll += (jaAll.empty() ? L"" : L"、") + jaNeeds(column);
        enAll += (enAll.empty() ? L"" : L", ") + enNeeds(column);
    }

    std::vector<IntuneRule> rules;
    for (const IntuneSetting& s : IntuneSettingsOf(result, 1)) {
        IntuneRule rule;
        rule.settingName = s.name;
        rule.type = s.type;
        switch (s.kind) {
            case IntuneSetting::Kind::Verdict:
                rule.operand = L"meets";
                rule.ja = {L"Kestrand VORN の動作スペック",
                           L"この PC は Kestrand VORN の動作スペックを満たしていません（判定: {ActualValue}）。"
                           L"満たしていない点とその対処は、ほかの項目に示されています。"};
                rule.en = {L"Kestrand VORN requirements",
                           L"This PC does not meet the requirements of Kestrand VORN (verdict: {ActualValue}). The "
                           L"other items say what falls short and what to do about it."};
                break;
            case IntuneSetting::Kind::ExitCode:
                rule.op = L"LessEquals";
                rule.operand = L"1";
                rule.ja = {L"動作スペックを確認できません",
                           L"この PC の動作スペックを確認できませんでした（終了コード {ActualValue}）。Windows の管理"
                           L"サービス (WMI) が応答しなかったか、要件表が使えません。PC を再起動してから、ポータル サイト"
                           L"で状態を確認し直してください。解決しない場合は管理者にお問い合わせください。"};
                rule.en = {L"The requirements could not be checked",
                           L"The requirements of this PC could not be checked (exit code {ActualValue}): Windows "
                           L"Management Instrumentation (WMI) did not answer, or the requirement table is unusable. "
                           L"Restart the PC, then check its status again in Company Portal. If that does not help, "
                           L"contact your administrator."};
                break;
            case IntuneSetting::Kind::MeetsRow:
                rule.operand = L"true";
                rule.ja = {L"動作に必要な環境", L"Kestrand VORN には次の環境が必要です: " + jaAll + L"。"};
                rule.en = {L"What Kestrand VORN needs", L"Kestrand VORN needs " + enAll + L"."};
                break;
            case IntuneSetting::Kind::OsVersion:
                rule.op = L"GreaterEquals";
                rule.operand = leastOs;
                rule.ja = {L"Windows のバージョン", L"この PC の Windows のバージョンは {ActualValue} です。" + leastOs +
                                                         L" 以上が必要です。" + AdviceTextOf(L"os-version", L"")};
                rule.en = {L"Windows version", L"This PC runs Windows {ActualValue}; the product needs " + leastOs +
                                                    L" or later. Update Windows with Windows Update."};
                break;
            case IntuneSetting::Kind::GlVersion:
                rule.op = L"GreaterEquals";
                rule.operand = leastGl;
                rule.ja = {L"OpenGL のバージョン",
                           L"この PC のグラフィックス ドライバーの OpenGL は {ActualValue} です。OpenGL " + leastGl +
                               L" 以上が必要です。グラフィックス メーカーのドライバーをインストールまたは更新してください。"};
                rule.en = {L"OpenGL version", L"This PC's graphics driver offers OpenGL {ActualValue}; the product needs "
                                              L"OpenGL " + leastGl +
                                                  L" or later. Install or update the driver from the maker of your "
                                                  L"graphics card."};
                break;
            case IntuneSetting::Kind::Requirement:
                rule.operand = L"true";
                rule.ja = {L"動作に必要な環境", L"この PC は次の要件を満たしていません: " + jaNeeds(s.column) + L"。"};
                rule.en = {L"What Kestrand VORN needs", L"This PC does not meet this requirement: " +
                                                            enNeeds(s.column) + L"."};
                break;
            case IntuneSetting::Kind::Cause: {
                const CauseWords* words = WordsOf(s.code);
                rule.operand = s.type == IntuneDataType::String ? kNoCause : L"false";
                const std::wstring ja = words && words->ja ? words->ja : AdviceTextOf(s.code, kActualValue);
                rule.ja = {words ? words->jaTitle : L"Kestrand VORN", ja};
                rule.en = {words ? words->enTitle : L"Kestrand VORN", words ? words->en : L""};
                break;
            }
        }
        rules.push_back(std::move(rule));
    }
    return rules;
}
