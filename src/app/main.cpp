#include "uStartup.h"

int main(int argc, char** argv)
{
    return RunKelmira(argc, argv);
}
