#include "app/Application.h"

int main(int argc, char *argv[])
{
    return tk::runApplication(argc, argv);
}
