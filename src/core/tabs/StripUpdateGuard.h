#pragma once

class TQWPageControl;

// Repainting of the tab strip stays off while a tab is added and placed.
class StripUpdateGuard
{
public:
    explicit StripUpdateGuard(TQWPageControl* control);
    ~StripUpdateGuard();
    StripUpdateGuard(const StripUpdateGuard&) = delete;
    StripUpdateGuard& operator=(const StripUpdateGuard&) = delete;

private:
    TQWPageControl* m_control;
};
