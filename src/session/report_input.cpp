#include "session/report_input.h"

#include <algorithm>

namespace velmora {

ConditionReportInput ReportInputOf(const Session& session) {
    ConditionReportInput in;
    const MainTicket& ticket = session.Ticket();
    const VariationDocument& variation = session.Variation();
    const Settings& settings = session.GetSettings();
    in.game = session.Game().gameId;
    in.numbers = ticket.Selected();
    in.fixed = ticket.Fixed();
    in.conditions = session.Conditions();
    in.rowCount = variation.Store().Count();
    in.frequencies = variation.Store().Frequencies();
    in.currency = settings.currency;
    in.price =
        settings
            .prices[static_cast<std::size_t>(std::clamp(settings.currency, 0, kCurrencyCount - 1))];
    in.version = variation.Record().version;
    in.generationDate = variation.Record().generationDate;
    in.interrupted = variation.Paused();
    in.drawCount = session.Draws().Count();
    return in;
}

} // namespace velmora
