// A deliberately wrong application module for the exports check: a stray
// exported variable, and a type tag of the wrong size and content.
extern "C" {
struct zrApp;

zrApp* makeApp(void)
{
    return nullptr;
}

extern const char my_type[8];
const char my_type[8] = "Applet";

extern int strayCounter;
int strayCounter = 1;
}

int main()
{
    return makeApp() == nullptr && strayCounter == 1 && my_type[0] == 'A' ? 0 : 1;
}
