#include "core/tabs/StripUpdateGuard.h"

#include "components/TQWPageControl.h"

StripUpdateGuard::StripUpdateGuard(TQWPageControl* control) : m_control(control)
{
    m_control->beginUpdate();
}

StripUpdateGuard::~StripUpdateGuard()
{
    m_control->endUpdate();
}
