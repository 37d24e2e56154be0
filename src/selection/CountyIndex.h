// Selection (src/selection): states, transmitters, counties and event codes; uses core and config.
#pragma once
// The counties of all 54 state files by location code, read once and kept (read anew only
// when the states folder changes): a county's name and state where only its code is known,
// as in what the receiver's memory holds.

#include <QString>

// The list text ("012011  Broward                Florida") of the first state file line,
// in state box order, that has `code`; empty when no state file holds it.
QString countyListTextForCode(const QString &code);
