#include "engine/tube_count.h"

#include "runtime/arithmetic.h"
#include "runtime/cstr.h"
#include "runtime/val.h"
#include "text/full_width.h"

namespace engine {

using runtime::CStr;
using runtime::Double;
using runtime::Val;
using text::fromFullWidth;

void Form1::Command1_Click()
{
    // Full-width digits from a Chinese input method mean what they show.
    d = Val(fromFullWidth(m_host.text(Box::Text5)));
    di = Val(fromFullWidth(m_host.text(Box::Text4)));
    gxj = Val(fromFullWidth(m_host.text(Box::Text3)));
    zxg = Val(fromFullWidth(m_host.text(Box::Text1)));
    // The fixed clearance 2b with b = 8 mm, whatever the note beside the boxes suggests.
    Dl = (Double(di) - 16).value();

    const RowScan layout = layoutCount(Dl, d, gxj);
    m_host.counted(Count::Layout, layout);
    const Double total = layout.total;

    if (zxg == 0) {
        m_host.setText(Box::Text2, CStr(total.value()));
        return;
    }

    double centre = zxg;
    zxg_calc(centre);
    m_host.messageBox("总的管束" + CStr(total.value()));
    m_host.messageBox("中心去掉的管束" + CStr(zxg_n));
    const double remaining = (total - zxg_n).value();
    m_host.messageBox(" 最后管束" + CStr(remaining));
    m_host.setText(Box::Text2, CStr(remaining));
}

void Form1::zxg_calc(double &d0)
{
    zxg = d0;
    const double DX = centreCircle(d0);
    if (centreTubeTooSmall(DX, gxj))
        m_host.messageBox(kCentreTubeTooSmall);
    const RowScan centre = centreCount(d, DX, gxj);
    m_host.counted(Count::Centre, centre);
    zxg_n = centre.total;
}

} // namespace engine
