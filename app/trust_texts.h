#pragma once
#include "platform/trust.h"
#include <QString>

namespace vt::TrustTexts {

// What stops the keyboard watch and how to fix it, for the onboarding window.
QString explanation(TrustProblem problem);
// The same in a few words, for the tray menu's warning row.
QString menuTitle(TrustProblem problem);

} // namespace vt::TrustTexts
