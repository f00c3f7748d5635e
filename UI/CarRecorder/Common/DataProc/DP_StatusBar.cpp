/*
 * PLACEHOLDER of the status bar's processor of the account "StatusBar".
 *
 * The account is created in its place by DP_Init; its processor (event handler, subscriptions,
 * timer) belongs to the status bar and replaces this file. Until then the account has no event
 * handler: a notify to it returns the data center's "no callback" result.
 */
#include "DataProc.h"

int DP_StatusBar_Init(Account *pstAccount) {
    (void)pstAccount;
    return 0;
}
