#pragma once

#include <functional>

// What happens to a page whose certificate the engine does not trust. It is
// refused unless the engine lets it be overridden and the user, asked with
// the error held back (deferred), agrees. An error the engine does not let be
// overridden is refused without asking: the engine shows its error page.
class TCertificateDecision
{
public:
    enum Outcome
    {
        Rejected,
        Accepted
    };
    struct Actions
    {
        std::function<void()> defer;
        std::function<void()> accept;
        std::function<void()> reject;
    };

    // Exactly one of accept and reject is run; askUser only for an
    // overridable error, after defer.
    static Outcome resolve(bool overridable, const std::function<bool()>& askUser,
                           const Actions& actions);
};
