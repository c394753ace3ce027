// Notarium: an outline note pad.
#include "app/Application.h"

int main(int argc, char** argv)
{
    return notarium::runApplication(argc, argv);
}
