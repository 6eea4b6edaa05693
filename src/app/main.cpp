#include "app/CKestravaApp.h"

#include <QtGlobal>

int main(int argc, char** argv) {
    // The window's icons live in the application library's resources.
    Q_INIT_RESOURCE(app);
    return kestrava::CKestravaApp::run(argc, argv);
}
