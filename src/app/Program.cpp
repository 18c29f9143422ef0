#include "app/Program.h"

#include "app/AppContext.h"
#include "app/frmMain.h"

namespace tb {

int RunTunebalk(Desktop& desktop) {
    AppContext app(desktop);
    int code = 0;
    {
        frmMain bar(app);
        if (bar.Load()) {
            bar.Show();
            code = desktop.runEventLoop();
        }
    }
    app.releaseDebugWriter();
    return code;
}

}  // namespace tb
