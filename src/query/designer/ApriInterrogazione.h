#pragma once

struct RichiestaInterrogazione;

namespace query::designer {

// Opens the designer modally on the table a grid hands over and returns
// when it is closed. The designer works on a connection of its own to the
// same database (same user and password) and a transaction with the
// parameters of the table's own; the working and bin directories the grid
// leaves empty come from the settings file, section the company.
void ApriInterrogazione(const RichiestaInterrogazione& richiesta);

}  // namespace query::designer
