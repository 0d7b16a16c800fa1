// A program of another office, built only against an installed Quillet: it labels a month and
// records it as a visit. Usage: consumer SERIAL; exit status 0 when every call did its part.
#include <quillet/Quillet.h>
#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    const std::string serial = argc > 1 ? argv[1] : "1";
    quillet::VekClass store;
    const bool leap = quillet::isLeapYear(2024) && !quillet::isLeapYear(1900) &&
                      store.GetLastDayOfMonth(2024, 2) == 29;
    const std::string month = store.GetMonth(quillet::Date{2024, 2, 29});
    const bool stored = store.Executex("insert into Visitor (SN, Name_, DateOfVisit) values (" +
                                       serial + ", '" + month + "', #29/02/2024#)");
    std::cout << "leap " << leap << " month " << month << " stored " << stored << '\n';
    return leap && month == "Feb" && stored ? EXIT_SUCCESS : EXIT_FAILURE;
}
