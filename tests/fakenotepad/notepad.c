/* Stands in for the editor in tests: records the file it was asked to show
 * in "shown.txt" in the current directory and returns at once. */
#include <stdio.h>

int main(int argc, char **argv)
{
    FILE *f = fopen("shown.txt", "w");
    if (f == NULL) return 1;
    fprintf(f, "%s", argc > 1 ? argv[1] : "");
    fclose(f);
    return 0;
}
