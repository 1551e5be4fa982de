// The desk's scripted tour for a run without anyone at the screen: marks two customers, pages
// the orders, opens an invoice, prints it and the customer list to PDF and saves a picture.
#pragma once

#include <QString>

class COrderDesk;

// Leaves order_desk.png, invoice.pdf and customers.pdf in the folder; false when one of them
// is missing afterwards.
bool RunDeskTour(COrderDesk& desk, const QString& folder);
