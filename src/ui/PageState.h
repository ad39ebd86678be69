#pragma once

namespace quilo {

// What the page area remembers while pages come and go, so that a page opens
// where the user left it.
struct PageState {
    int outputChannel = 0; // 0-7: the channel of the output page and its siblings
    int musicChannel = 0;  // music page: 0 mic channel A, 1 mic channel B, 2 music
    int effectsEq = 0;     // effects equaliser page: 0 reverb A, 1 reverb B, 2 echo A, 3 echo B
    int locateChannel = 0; // room layout page: the channel whose Locate box is ticked (1-8), 0 none
};

} // namespace quilo
