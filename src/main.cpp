#include "shell/Orbwell.h"

int main(int argc, char *argv[])
{
    return RunOrbwell(argc, argv);
}
