// The registration engine and its window live here.
