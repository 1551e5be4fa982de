// qorform's entry point.
#include "designer/designer_app.h"

int main(int argc, char** argv) {
    CDesignerApp app;
    return AfxWinMain(app, argc, argv);
}
