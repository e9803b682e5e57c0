#include "session/minimise_variation.h"

#include <algorithm>

#include "common/hu_format.h"
#include "common/numbers.h"
#include "variation/variation_test.h"

namespace velmora {

const char* const kMinimiseRefusedText = "Csak kész, hibapontos variáció minimalizálható.";
const char* const kMinimiseTooLargeText =
    "A variáció túl nagy a minimalizáláshoz:\rlegfeljebb 5 000 000 lehetséges számsor vizsgálható.";
const char* const kMinimiseNoGuaranteeText =
    "A variáció számsorai nem adják meg a hibapontok szerinti garanciát,\rezért nem "
    "minimalizálható.";
const char* const kMinimiseTestFailedText =
    "A variáció tesztje nem igazolta a minimalizált variáció garanciáját.\rA variáció nem "
    "változott.";

namespace {

// N, k', the error points and the positions a row must share with a case, as the generation
// counts them.
struct Guarantee {
    int n = 0;
    int k = 0;
    int h = 0;
    int needed = 0;
};

Guarantee GuaranteeOf(const GenerationInput& generation) {
    Guarantee g;
    g.n = static_cast<int>(generation.variationNumbers.size());
    g.k = generation.game.rowLength - generation.fixedCount;
    g.h = std::clamp(generation.conditions.errorPoints, 0, std::max(g.k - 1, 0));
    g.needed = g.k - g.h + (generation.conditions.options.optimised ? 1 : 0);
    return g;
}

} // namespace

bool PrepareMinimise(const VariationDocument& variation, MinimiseJob& job, std::string& refusal) {
    if (!variation.Exists()) {
        refusal = "Nincs kész variáció.";
        return false;
    }
    const GenerationInput generation = variation.MakeGenerationInput();
    const auto [n, k, h, needed] = GuaranteeOf(generation);
    if (h == 0 || variation.DrawsList() || variation.Paused() || variation.Extending() ||
        variation.Store().RowWidth() != k || k < 1 || k > kMaxRowLength) {
        refusal = kMinimiseRefusedText;
        return false;
    }
    if (n > kMaxVariationNumbers || Binomial(n, k) > kMaxMinimiserCandidates) {
        refusal = kMinimiseTooLargeText;
        return false;
    }
    MinimiserInput& input = job.input;
    input.n = n;
    input.k = k;
    input.needed = needed;
    input.rows.clear();
    const VariationStore& store = variation.Store();
    for (long long r = 0; r < store.Count(); ++r) {
        MinimiserRow row(store.Row(r), store.Row(r) + k);
        std::sort(row.begin(), row.end());
        input.rows.push_back(std::move(row));
    }
    input.passing = PassingCandidates(generation.conditions, generation.variationNumbers,
                                      generation.game, k, generation.draws);
    job.lowerBound = CoveringLowerBound(n, k, input.needed);
    if (!CoversEveryCandidate(n, k, input.needed, input.rows, input.passing)) {
        refusal = kMinimiseNoGuaranteeText;
        return false;
    }
    return true;
}

bool GuaranteeHolds(const VariationDocument& variation, const std::vector<MinimiserRow>& rows,
                    int needed, int threads) {
    const GenerationInput generation = variation.MakeGenerationInput();
    const int k = generation.game.rowLength - generation.fixedCount;
    const int n = static_cast<int>(generation.variationNumbers.size());
    VariationStore store;
    store.Reset(k, n);
    store.Reserve(static_cast<long long>(rows.size()));
    for (const MinimiserRow& row : rows) {
        if (static_cast<int>(row.size()) != k) {
            return false;
        }
        store.Append(row.data());
    }
    const bool conditionsMode = generation.conditions.AnyActive();
    VariationTest test(variation.MakeTestInput(k, conditionsMode, threads), store);
    test.BontasGepiEllenorzes();
    if (!test.Finished()) {
        return false;
    }
    const VariationTestResult result = test.Snapshot();
    const int fixed = generation.fixedCount;
    for (int level = 0; level < fixed + needed && level < static_cast<int>(result.all.size());
         ++level) {
        const auto at = static_cast<std::size_t>(level);
        const unsigned long long passing =
            result.all[at] - (conditionsMode ? result.failed[at] : 0);
        if (passing > 0) {
            return false;
        }
    }
    return true;
}

MinimiseVerdict JudgeMinimised(const VariationDocument& variation, const MinimiseJob& job,
                               const MinimiserResult& result, int threads) {
    if (!result.improved || result.rows.size() >= job.input.rows.size()) {
        return MinimiseVerdict::NotSmaller;
    }
    return GuaranteeHolds(variation, result.rows, job.input.needed, threads)
               ? MinimiseVerdict::Confirmed
               : MinimiseVerdict::Refused;
}

bool ApplyMinimised(VariationDocument& variation, const MinimiserResult& result,
                    MinimiseVerdict verdict, Messages& messages) {
    if (verdict == MinimiseVerdict::Refused) {
        messages.Error(kMinimiseTestFailedText);
    }
    if (verdict != MinimiseVerdict::Confirmed) {
        return false;
    }
    variation.ReplaceRows(result.rows);
    return true;
}

std::string LowerBoundText(const VariationDocument& variation) {
    if (!variation.Exists() || variation.DrawsList()) {
        return {};
    }
    const auto [n, k, h, needed] = GuaranteeOf(variation.MakeGenerationInput());
    if (h == 0 || k < 1 || n < k || n > kMaxVariationNumbers) {
        return {};
    }
    return "A variáció " + FormatThousands(variation.Store().Count()) +
           " számsorból áll; alsó korlát " + std::to_string(n) + " számra, " + std::to_string(h) +
           " hibaponttal, feltételek nélkül: " + FormatThousands(CoveringLowerBound(n, k, needed)) +
           " számsor.";
}

std::string MinimisedText(long long rows, long long before) {
    return "A minimalizált variáció " + FormatThousands(rows) + " számsorból áll (korábban " +
           FormatThousands(before) + ").";
}

} // namespace velmora
