#pragma once

namespace korvan {

class TDataModule1;

// The required-field checks of the two catalogues, run before a record is written.
void installCatalogueHooks(TDataModule1 &data);

} // namespace korvan
