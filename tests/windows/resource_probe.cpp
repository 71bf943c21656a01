// Carries the program's version record and icon, so that they can be checked in a build
// that has no Qt for the program itself.
int main() {
    return 0;
}
