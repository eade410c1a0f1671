// The three orderings of the server list's columns: the kilobyte figure of the size column, the
// text of the name and type columns, and the date and time of the modification column.
#pragma once

#include <string>

enum ServerSortType { kServerSortNumber = 1, kServerSortText = 2, kServerSortDate = 3 };

// <0, 0 or >0 for ascending order.
int CompareServerCells(int sortType, const std::string& first, const std::string& second);
// The number the text starts with, thousands separators included ("1,000KB" is 1000); 0 for none.
long long LeadingFigure(const std::string& text);
