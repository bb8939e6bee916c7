/* Raw level to dBm: pure, shared with the record conversions' unit tests. */
int LevelToDBm(int Level)
{
    if (Level <= 47) return -102;
    if (Level >= 139) return -10;
    return Level - 149;
}
