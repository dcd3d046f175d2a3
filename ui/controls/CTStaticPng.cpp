#include "ui/controls/CTStaticPng.h"

void CTStaticPng::MakeClickable()
{
    if (clickable)
        return;
    clickable = true;
    SetNotify(true);
}
