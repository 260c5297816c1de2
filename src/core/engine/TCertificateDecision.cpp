#include "core/engine/TCertificateDecision.h"

TCertificateDecision::Outcome TCertificateDecision::resolve(bool overridable,
                                                            const std::function<bool()>& askUser,
                                                            const Actions& actions)
{
    bool agreed = false;
    if (overridable)
    {
        if (actions.defer)
            actions.defer();
        agreed = askUser && askUser();
    }
    if (agreed)
    {
        if (actions.accept)
            actions.accept();
        return Accepted;
    }
    if (actions.reject)
        actions.reject();
    return Rejected;
}
