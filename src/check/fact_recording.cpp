#include "check/fact_recording.h"

#include <algorithm>

std::optional<RecordedGlStrings> GraphicsDriverRecorder::Recorded(TextCodec& codec) const {
    const std::optional<GlDriverStrings>& strings = reading_.strings;
    if (!strings) return std::nullopt;
    RecordedGlStrings recorded;
    for (size_t k = 0; k < recorded.size(); ++k)
        if ((*strings)[k]) recorded[k] = codec.Decode(*(*strings)[k], CodePage::SystemAnsi).value_or(std::wstring());
    return recorded;
}

void RecordQueryAnswer(const CWMI& table, size_t tableIndex, const QueryAnswer& answer, MachineRecording& recording,
                       std::vector<size_t>& recordedIndices) {
    if (tableIndex >= table.queries.size() || !table.queries[tableIndex]) return;
    const CWMIClass& query = *table.queries[tableIndex];

    RecordedAnswer recorded;
    recorded.wql = query.query;
    if (answer) {
        recorded.instances.emplace();
        recorded.instances->reserve(answer->size());
        for (const WmiInstance& instance : *answer) {
            RecordedInstance out;
            out.name = instance.name;
            for (size_t p = 0; p < query.props.size(); ++p) {
                if (!query.props[p]) continue;
                WmiValue absent;
                absent.type = WmiValue::Type::Absent;
                out.properties.push_back({query.props[p]->name, p < instance.values.size() ? instance.values[p] : absent});
            }
            recorded.instances->push_back(std::move(out));
        }
    }
    // The dialog asks the checked queries first: keep table order all the same.
    const auto at = std::upper_bound(recordedIndices.begin(), recordedIndices.end(), tableIndex);
    recording.answers.insert(recording.answers.begin() + (at - recordedIndices.begin()), std::move(recorded));
    recordedIndices.insert(at, tableIndex);
}

std::vector<RecordedProgram> RecordPrograms(const std::vector<OrvaneRec>& rows, const std::wstring& exeDir,
                                            FileSystem& files) {
    std::vector<RecordedProgram> programs;
    for (const OrvaneRec& row : rows) {
        const std::wstring& name = row.columns[OrvaneRec::exeName];
        if (name.empty() || std::any_of(programs.begin(), programs.end(),
                                        [&name](const RecordedProgram& p) { return p.name == name; }))
            continue;
        programs.push_back({name, files.IsExistingFile(exeDir + name)});
    }
    return programs;
}
