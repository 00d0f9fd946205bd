#pragma once

namespace korvan {

class Store;

// Tables that sit beside the fifteen of the original format, so that those keep their fields:
//  "econom.db"  the economic parameters of a project, one row per project Kod (Kod0); a project
//               without a row uses the defaults;
//  "econrep.db" whether a report settings record (Kod) prints the economic block; no row is off.
// A project's or a report settings record's row goes when the record goes (triggers, so that
// every way of deleting it is covered).
inline constexpr const char *EconomicsTable = "econom.db";
inline constexpr const char *EconomicsReportTable = "econrep.db";

// Creates both tables and their triggers; the full report of the delivered settings gets the
// economic block. Runs inside the caller's transaction.
void createEconomicsTables(Store &store);

} // namespace korvan
