#include "cli/stats_command.h"

#include <ostream>
#include <sstream>

#include "common/clock.h"
#include "common/file_io.h"
#include "common/hu_format.h"
#include "draws/draws_store.h"
#include "common/random_source.h"
#include "draws/draw_ranges.h"
#include "session/session.h"
#include "session/startup.h"
#include "stats/statistics.h"

namespace velmora::cli {

namespace {

// The statistic asked for, with the range it covers.
struct StatRequest {
    long long game = 0;
    long long kind = 0;
    long long first = 1;
    long long last = 0;
};

std::string ErrorObject(const StatRequest& request, const char* code) {
    return "{\"game\": " + std::to_string(request.game) +
           ", \"kind\": " + std::to_string(request.kind) + ", \"error\": \"" + code + "\"}";
}

template <typename List, typename Write>
void JsonList(std::ostream& out, const List& list, Write write) {
    out << "[";
    bool first = true;
    for (const auto& item : list) {
        out << (first ? "" : ", ");
        write(item);
        first = false;
    }
    out << "]";
}

void WriteJson(std::ostream& out, const StatRequest& request, const StatResult& result) {
    out << "{\"game\": " << request.game << ", \"kind\": " << request.kind
        << ", \"first\": " << request.first << ", \"last\": " << request.last
        << ", \"samples\": " << result.samples;
    const auto number = [&out](auto value) { out << value; };
    if (request.kind == 1 || request.kind == 2) {
        out << ", \"values\": ";
        JsonList(out, result.values, number);
    } else if (IsDiagramKind(static_cast<StatKind>(request.kind))) {
        out << ", \"bars\": ";
        JsonList(out, result.bars, [&](const auto& bar) { JsonList(out, bar, number); });
    } else {
        out << ", \"table\": ";
        JsonList(out, result.table, [&](const auto& row) { JsonList(out, row, number); });
    }
    out << "}\n";
}

void WriteCsv(std::ostream& out, const StatRequest& request, const StatResult& result) {
    if (request.kind == 1 || request.kind == 2) {
        out << "number,value\n";
        for (std::size_t n = 0; n < result.values.size(); ++n) {
            out << n + 1 << "," << result.values[n] << "\n";
        }
    } else if (IsDiagramKind(static_cast<StatKind>(request.kind))) {
        out << "value,samples\n";
        for (const auto& bar : result.bars) {
            out << bar[0] << "," << bar[1] << "\n";
        }
    } else {
        for (const auto& row : result.table) {
            for (std::size_t c = 0; c < row.size(); ++c) {
                out << (c ? "," : "") << row[c];
            }
            out << "\n";
        }
    }
}

// The game's draws as the program loads them; the error code when they cannot be had.
const char* LoadDatabase(const Session& session, std::vector<DrawRecord>& draws) {
    std::vector<std::uint8_t> bytes;
    if (ReadFile(session.DatabasePath(), kMaxDatabaseSize, bytes) != FileRead::Read ||
        bytes.size() <= 7000) {
        return "no database";
    }
    switch (ParseDrawsFile(bytes, session.Game(), draws)) {
    case DrawsLoad::Loaded:
        return nullptr;
    case DrawsLoad::Missing:
        return "no database";
    default:
        return "invalid database";
    }
}

// The variation file's samples; false when it holds no usable variation of the game.
bool LoadVariation(Session& session, const std::string& path, StatSamples& samples, long long& rows,
                   int& sampleLength) {
    std::ostream nowhere(nullptr);
    TerminalMessages quiet(nowhere, true);
    bool headerRead = false;
    const GameId fileGame = GameForCommandLineFile(path, session.Game().gameId, quiet, headerRead);
    if (path.empty() || !headerRead || fileGame != session.Game().gameId ||
        !session.OpenFile(path) || !session.Variation().Exists()) {
        return false;
    }
    const VariationDocument& variation = session.Variation();
    samples = VariationSamples(session.Game(), variation.Store(), variation.RowSource());
    rows = variation.Store().Count();
    sampleLength = session.Game().rowLength - static_cast<int>(session.Ticket().Fixed().size());
    return true;
}

} // namespace

int Stats(Invocation& invocation) {
    StatRequest request;
    long long first = 1;
    long long last = -1;
    const auto integer = [&invocation](const std::string& text, long long& value) {
        if (ParseInteger(text, value)) {
            return true;
        }
        *invocation.err << "not an integer: " << text << "\n";
        return false;
    };
    if (!integer(invocation.arguments[0], request.game) ||
        !integer(invocation.arguments[1], request.kind) ||
        (invocation.Has("--first") && !integer(invocation.Value("--first"), first)) ||
        (invocation.Has("--last") && !integer(invocation.Value("--last"), last))) {
        return kExitUsage;
    }
    std::ostream& out = *invocation.out;
    const auto refuse = [&](const char* code) {
        out << ErrorObject(request, code) << "\n";
        return kExitFailed;
    };
    if (!IsValidGame(static_cast<GameId>(request.game)) || request.game < 0) {
        return refuse("bad game");
    }
    if (request.kind < kFirstStatKind || request.kind > kLastStatKind) {
        return refuse("bad kind");
    }
    const auto kind = static_cast<StatKind>(request.kind);
    std::ostream nowhere(nullptr);
    TerminalMessages quiet(nowhere, true);
    SeededRandom random(1);
    const SystemClock clock;
    Session session(invocation.folders, quiet, random, clock);
    session.ApplyGame(static_cast<GameId>(request.game));
    std::vector<DrawRecord> draws;
    if (const char* error = LoadDatabase(session, draws)) {
        return refuse(error);
    }
    const GameInfo& game = session.Game();
    StatSamples samples;
    if (IsVariationKind(kind)) {
        session.LoadDraws();
        long long rows = 0;
        int sampleLength = 0;
        if (!LoadVariation(session, invocation.Value("--top"), samples, rows, sampleLength)) {
            return refuse("no variation");
        }
        request.first = 1;
        request.last = rows;
        if (kind == StatKind::VariationHitRatios &&
            HitRatioWork(sampleLength, rows) > kMaxHitRatioWork) {
            return refuse("refused");
        }
    } else {
        const auto count = static_cast<long long>(draws.size());
        request.first = first;
        request.last = last < 0 && !invocation.Has("--last") ? count : last;
        if (request.first < 1 || request.last > count) {
            return refuse("bad range");
        }
        const int a = static_cast<int>(request.first);
        const int b = static_cast<int>(request.last);
        if (kind == StatKind::DrawsHitRatios &&
            HitRatioWork(game.drawnCount, CountRange(game, draws, a, b).samples) >
                kMaxHitRatioWork) {
            return refuse("refused");
        }
        samples = DrawSamples(game, draws, a, b);
    }
    StatResult result;
    if (kind == StatKind::TimesDrawn || kind == StatKind::DrawsSince) {
        result = NumberStatistic(kind, game, draws, static_cast<int>(request.first),
                                 static_cast<int>(request.last));
    } else {
        SampleStatistic(kind, samples, game.maxNumber, result);
    }
    if (invocation.Has("--csv")) {
        WriteCsv(out, request, result);
    } else {
        WriteJson(out, request, result);
    }
    return kExitOk;
}

} // namespace velmora::cli
