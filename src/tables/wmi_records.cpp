#include "tables/wmi_records.h"

// Records go in list order, as the table was read.
CWMIClass::~CWMIClass() {
    for (auto& prop : props) prop.reset();
}

CWMI::~CWMI() {
    for (auto& query : queries) query.reset();
}
