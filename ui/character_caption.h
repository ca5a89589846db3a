#pragma once

#include <QString>

namespace vemro {

// A character as the "Character" list shows it: the character and its code ("A  U+0041"); a
// character without a visible shape by its name ("space  U+0020", "no-break space  U+00A0"),
// a control character by its code alone ("U+0081").
QString characterCaption(char32_t code);

// A character as a message shows it: itself when it has a visible shape, else its code
// ("U+0020").
QString shownCharacter(char32_t code);

}  // namespace vemro
