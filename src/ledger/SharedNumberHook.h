#pragma once

namespace seikyu {

/// Lets the number panel take numbers from the shared ledger's server whenever the ledger is shared.
void installSharedNumbers();

} // namespace seikyu
