#pragma once

#include "core/UserMessage.h"
#include "labels/PrintLaunch.h"

namespace labels {

// What a concluded launch tells its user, laser or thermal alike: the
// launch undone and why, the labels another launch printed meanwhile, a
// print stopped part way with how many labels came out, or "Stampa
// effettuata".
core::UserMessages launchMessages(const PrintLaunch::Result& result);

// Every selected label came out or was left out on purpose (printed by
// another launch or deleted meanwhile).
bool launchComplete(const PrintLaunch::Result& result);

}  // namespace labels
