#include "fleet/fleet_page.h"

#include <algorithm>
#include <vector>

#include "encoding/utf8_encoding.h"

namespace {

// Each verdict's colour, with its name beside it wherever it is used, so that
// the page also reads printed in grey.
struct Shade {
    const wchar_t* name;
    const wchar_t* colour;
};
const Shade kMeets{L"meets", L"#2e7d32"};
const Shade kFallsShort{L"falls short", L"#c62828"};
const Shade kNoVerdict{L"no verdict", L"#b26a00"};
const Shade kUnreadable{L"unreadable", L"#616161"};

const wchar_t* const kStyle =
    L"body{font-family:'Segoe UI','Yu Gothic UI','Meiryo',sans-serif;margin:1.5em auto;max-width:72em;"
    L"padding:0 1em;color:#1b1b1b;line-height:1.4}"
    L"h1{font-size:1.6em;margin:0 0 .2em}h2{font-size:1.2em;margin:1.6em 0 .4em;border-bottom:1px solid #ccc}"
    L"p.when{color:#555;margin:0}"
    L"svg{display:block}"
    L".legend>span{display:inline-block;margin:.3em 1.2em .3em 0;white-space:nowrap}"
    L".key{display:inline-block;width:.9em;height:.9em;vertical-align:-.1em;margin-right:.3em;"
    L"-webkit-print-color-adjust:exact;print-color-adjust:exact}"
    L"table{border-collapse:collapse;width:100%}"
    L"th,td{text-align:left;vertical-align:top;padding:.25em .5em;border-bottom:1px solid #e0e0e0;"
    L"overflow-wrap:anywhere}"
    L"th{background:#f3f3f3}"
    L"td.n,th.n{text-align:right;white-space:nowrap;width:1%}td.bar{width:35%;min-width:5em}td.tag{white-space:nowrap}"
    L"code{font-family:Consolas,monospace;font-size:.95em}"
    L"*{-webkit-print-color-adjust:exact;print-color-adjust:exact}"
    L"@media print{body{margin:0;max-width:none}tr{break-inside:avoid}h2{break-after:avoid}}";

std::wstring Count(size_t n) { return std::to_wstring(n); }

// Bars laid end to end across the picture's width, each with its share.
std::wstring StackedBar(const std::vector<std::pair<Shade, size_t>>& parts, size_t whole, const wchar_t* height) {
    // Whole numbers only: the process's locale may write a decimal comma.
    std::wstring svg = L"<svg viewBox=\"0 0 10000 10\" preserveAspectRatio=\"none\" width=\"100%\" height=\"" +
                       std::wstring(height) + L"\" role=\"img\"><rect width=\"10000\" height=\"10\" fill=\"#eee\"/>";
    size_t at = 0, sum = 0;
    for (const auto& part : parts) {
        if (part.second == 0 || whole == 0) continue;
        sum += part.second;
        const size_t end = static_cast<size_t>(static_cast<unsigned long long>(sum) * 10000 / whole);
        const size_t width = end - at;
        svg += L"<rect x=\"" + std::to_wstring(at) + L"\" width=\"" + std::to_wstring(width) +
               L"\" height=\"10\" fill=\"" + part.first.colour + L"\"><title>" + part.first.name + L": " +
               Count(part.second) + L"</title></rect>";
        at = end;
    }
    return svg + L"</svg>";
}

std::wstring Legend(const std::vector<std::pair<Shade, size_t>>& parts) {
    std::wstring html = L"<p class=\"legend\">";
    for (const auto& part : parts)
        html += L"<span><span class=\"key\" style=\"background:" + std::wstring(part.first.colour) + L"\"></span>" +
                part.first.name + L": <b>" + Count(part.second) + L"</b></span>";
    return html + L"</p>";
}

// Counts as bars, most frequent first, each against the largest.
std::wstring CountBars(const std::map<std::wstring, size_t>& counts, const wchar_t* what, bool asCode) {
    if (counts.empty()) return L"<p>None.</p>";
    const auto items = MostFrequentFirst(counts);
    std::wstring html = L"<table><tr><th>" + std::wstring(what) + L"</th><th class=\"n\">machines</th><th></th></tr>";
    for (const auto& item : items) {
        const std::wstring name = HtmlText(item.first);
        html += L"<tr><td>" + (asCode ? L"<code>" + name + L"</code>" : name) + L"</td><td class=\"n\">" +
                Count(item.second) + L"</td><td class=\"bar\">" +
                StackedBar({{kFallsShort, item.second}}, items.front().second, L"14") + L"</td></tr>";
    }
    return html + L"</table>";
}

// Values split into meets, falls short and no verdict, the most common first.
std::wstring Spread(const std::map<std::wstring, VerdictCounts>& spread, const wchar_t* what,
                    const std::map<std::wstring, bool>* software) {
    if (spread.empty()) return L"<p>None.</p>";
    std::vector<std::pair<std::wstring, VerdictCounts>> rows(spread.begin(), spread.end());
    const auto total = [](const VerdictCounts& c) { return c.meets + c.fallsShort + c.noVerdict; };
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) { return total(a.second) > total(b.second); });
    std::wstring html = L"<table><tr><th>" + std::wstring(what) + L"</th>" +
                        (software ? L"<th>drawn by</th>" : L"") +
                        L"<th class=\"n\">meets</th><th class=\"n\">falls short</th><th class=\"n\">no verdict</th><th></th></tr>";
    for (const auto& row : rows) {
        const VerdictCounts& c = row.second;
        html += L"<tr><td>" + HtmlText(row.first) + L"</td>";
        if (software) {
            const auto at = software->find(row.first);
            html += std::wstring(L"<td class=\"tag\">") +
                    (at == software->end() ? L"" : at->second ? L"software" : L"hardware") + L"</td>";
        }
        html += L"<td class=\"n\">" + Count(c.meets) + L"</td><td class=\"n\">" + Count(c.fallsShort) +
                L"</td><td class=\"n\">" + Count(c.noVerdict) + L"</td><td class=\"bar\">" +
                StackedBar({{kMeets, c.meets}, {kFallsShort, c.fallsShort}, {kNoVerdict, c.noVerdict}},
                           total(rows.front().second), L"14") +
                L"</td></tr>";
    }
    return html + L"</table>";
}

std::wstring Listed(const std::vector<std::wstring>& items, bool asCode) {
    std::wstring html;
    for (const std::wstring& item : items)
        html += (html.empty() ? L"" : L"<br>") + (asCode ? L"<code>" + HtmlText(item) + L"</code>" : HtmlText(item));
    return html;
}

std::wstring Machines(std::vector<FleetMachine> machines) {
    if (machines.empty()) return L"<p>Every machine read meets a requirement row.</p>";
    // Alike shortfalls side by side, so that the table reads by eye.
    std::stable_sort(machines.begin(), machines.end(), [](const FleetMachine& a, const FleetMachine& b) {
        if (a.noVerdict != b.noVerdict) return b.noVerdict;
        if (a.failingItems != b.failingItems) return a.failingItems < b.failingItems;
        return a.machine < b.machine;
    });
    std::wstring html =
        L"<table><tr><th>machine</th><th>what fell short</th><th>advice</th><th>recording</th></tr>";
    for (const FleetMachine& m : machines) {
        html += L"<tr><td>" + HtmlText(m.machine) + L"</td><td>" +
                (m.noVerdict ? std::wstring(L"<i>no verdict: WMI not reached or not answering</i>")
                             : Listed(m.failingItems, false)) +
                L"</td><td>" + Listed(m.advice, true) + L"</td><td>" + HtmlText(m.file) + L"</td></tr>";
    }
    return html + L"</table>";
}

}  // namespace

std::wstring HtmlText(std::wstring_view text) {
    std::wstring html;
    html.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
            case L'&': html += L"&amp;"; break;
            case L'<': html += L"&lt;"; break;
            case L'>': html += L"&gt;"; break;
            case L'"': html += L"&quot;"; break;
            case L'\'': html += L"&#39;"; break;
            default: html += c;
        }
    }
    return html;
}

std::string FleetPageHtml(const FleetTally& tally, const std::wstring& utcTime) {
    const VerdictCounts& v = tally.verdicts;
    const size_t all = tally.Read() + tally.unreadable.size();
    const std::vector<std::pair<Shade, size_t>> totals = {
        {kMeets, v.meets}, {kFallsShort, v.fallsShort}, {kNoVerdict, v.noVerdict}, {kUnreadable, tally.unreadable.size()}};

    std::wstring html = L"<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                        L"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                        L"<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'\">"
                        L"<title>Kestrand VORN: fleet summary</title><style>";
    html += kStyle;
    html += L"</style></head><body>\n<h1>Kestrand VORN: fleet summary</h1>\n<p class=\"when\">" + Count(all) +
            L" recordings, judged " + HtmlText(utcTime) + L" by orvane-check.</p>\n";

    html += L"<h2>Totals</h2>\n" + (all ? StackedBar(totals, all, L"36") : std::wstring()) + Legend(totals);
    if (tally.partial)
        html += L"<p>" + Count(tally.partial) +
                L" of them partial: the tables asked something their recording lacks, counted as absent.</p>";
    html += L"\n<h2>What fell short</h2>\n" + CountBars(tally.failingItems, L"item", false);
    html += L"\n<h2>Advice</h2>\n" + CountBars(tally.advice, L"cause", true);
    html += L"\n<h2>OS builds</h2>\n" + Spread(tally.osBuilds, L"Windows version", nullptr);
    html += L"\n<h2>Graphics renderers</h2>\n" + Spread(tally.renderers, L"renderer", &tally.softwareRenderers);
    html += L"\n<h2>Machines that do not meet a row</h2>\n" + Machines(tally.fallingShort);
    if (!tally.unreadable.empty()) {
        html += L"\n<h2>Unreadable recordings</h2>\n<ul>";
        for (const std::wstring& file : tally.unreadable) html += L"<li>" + HtmlText(file) + L"</li>";
        html += L"</ul>";
    }
    html += L"\n<h2>Tables</h2>\n<table><tr><th>table</th><th>read from</th><th>SHA-256</th></tr>";
    for (const FleetTable& table : tally.tables)
        html += L"<tr><td>" + HtmlText(table.file) + L"</td><td>" + HtmlText(table.source) + L"</td><td><code>" +
                HtmlText(std::wstring(table.sha256.begin(), table.sha256.end())) + L"</code></td></tr>";
    html += L"</table>\n<p class=\"when\">Judged " + HtmlText(utcTime) + L".</p>\n</body></html>\n";
    return EncodeUtf8(html);
}
