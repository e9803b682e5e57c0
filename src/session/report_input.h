#pragma once

#include "reports/condition_report.h"
#include "session/session.h"

namespace velmora {

// What the condition report tells of the current ticket, conditions and variation.
ConditionReportInput ReportInputOf(const Session& session);

} // namespace velmora
