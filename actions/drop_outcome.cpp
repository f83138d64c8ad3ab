#include "actions/drop_outcome.h"

#include <utility>

namespace {

DropOutcome outcome;
OutcomeListener listener;

}  // namespace

DropOutcome& CurrentOutcome() { return outcome; }

void SetOutcomeListener(OutcomeListener new_listener) { listener = std::move(new_listener); }

void ReportOutcome() {
  if (listener) {
    const OutcomeListener call = listener;
    call(outcome);
  }
}
