/* Raw level to dBm. */
int LevelToDBm(int Level)
{
    if (Level <= 47) return -102;
    if (Level >= 139) return -10;
    return Level - 149;
}
