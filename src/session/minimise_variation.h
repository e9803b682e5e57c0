#pragma once

#include <string>
#include <vector>

#include "common/messages.h"
#include "session/variation_document.h"
#include "variation/minimiser.h"

// "Variáció minimalizálása...": the search's work for the current variation, and the variation
// test that confirms a result before it takes the place of the rows.
namespace velmora {

struct MinimiseJob {
    MinimiserInput input;
    long long lowerBound = 0; // for the same N, k' and error points, without conditions
};

// A finished error-point variation of positions, small enough to search. False with the
// refusal's text otherwise, or when its rows do not give the guarantee the search keeps.
bool PrepareMinimise(const VariationDocument& variation, MinimiseJob& job, std::string& refusal);

// The variation test over every case of k' drawn numbers: each case that passes the
// conditions shares `needed` positions with one of `rows`.
bool GuaranteeHolds(const VariationDocument& variation, const std::vector<MinimiserRow>& rows,
                    int needed, int threads);

// What becomes of a search's result: nothing smaller was found, or the variation test
// confirms or refuses the smaller one. Reads the document only (a worker may run it while the
// document rests).
enum class MinimiseVerdict { NotSmaller, Confirmed, Refused };
MinimiseVerdict JudgeMinimised(const VariationDocument& variation, const MinimiseJob& job,
                               const MinimiserResult& result, int threads);

// A confirmed result replaces the rows (the rows before are backed up and can be brought
// back); a refused one leaves them, after kMinimiseTestFailedText. True when replaced.
bool ApplyMinimised(VariationDocument& variation, const MinimiserResult& result,
                    MinimiseVerdict verdict, Messages& messages);

// For an error-point variation of positions, its rows beside the fewest rows any variation of
// the same N, k' and error points can hold without conditions: "A variáció 65 számsorból áll;
// alsó korlát 12 számra, 1 hibaponttal, feltételek nélkül: 22 számsor."; empty otherwise.
std::string LowerBoundText(const VariationDocument& variation);

// "A minimalizált variáció 35 számsorból áll (korábban 65)."
std::string MinimisedText(long long rows, long long before);

extern const char* const kMinimiseRefusedText;
extern const char* const kMinimiseTooLargeText;
extern const char* const kMinimiseNoGuaranteeText;
extern const char* const kMinimiseTestFailedText;

} // namespace velmora
