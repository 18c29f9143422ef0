#include "app/Program.h"

#include "app/AppContext.h"
#include "app/frmMain.h"

namespace tb {

int RunTunebalk(Desktop& desktop, Registry& registry) {
    AppContext app(desktop, registry);
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
