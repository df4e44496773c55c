#include "gui/platform/input_injection.h"

#include <QGuiApplication>

namespace korvel {

InputInjection OpenInputInjection() {
    InputInjection injection;
    std::string uinputProblem;
    injection.injector = OpenUinputInjector(uinputProblem);
    if (injection.injector) {
        injection.way = "uinput";
        return injection;
    }
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        std::string xtestProblem;
        injection.injector = OpenXTestInjector(xtestProblem);
        if (injection.injector) {
            injection.way = "XTest";
            return injection;
        }
        injection.problem = uinputProblem + "; " + xtestProblem;
        return injection;
    }
    injection.problem = uinputProblem;
    return injection;
}

}  // namespace korvel
