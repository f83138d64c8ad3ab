#include "actions/drop_outcome.h"

DropOutcome& CurrentOutcome() {
  static DropOutcome outcome;
  return outcome;
}
