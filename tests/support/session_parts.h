#pragma once

#include "common/random_source.h"
#include "session/session.h"
#include "support/fake_messages.h"
#include "support/fixed_clock.h"
#include "support/temp_home.h"

namespace velmora::testing {

// A program run on a temporary program folder, with scripted messages and a fixed clock.
struct SessionParts {
    explicit SessionParts(std::uint32_t seed = 1) : random(seed) {}

    // Another run on the same program folder, with messages of its own.
    std::unique_ptr<Session> Another(Messages& otherMessages) {
        return std::make_unique<Session>(MakeProgramFolders(home.Path()), otherMessages, random,
                                         clock);
    }

    TempHome home;
    FakeMessages messages;
    SeededRandom random;
    FixedClock clock;
    Session session{MakeProgramFolders(home.Path()), messages, random, clock};
};

} // namespace velmora::testing
