<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Cli_tkt00740</name>
    <message>
        <source>A consulta de consumidores não trouxe a coluna %1.</source>
        <translation>The consumer query did not return the column %1.</translation>
    </message>
    <message>
        <source>Erro</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Erro desconhecido.</source>
        <translation>Unknown error.</translation>
    </message>
</context>
<context>
    <name>Cli_tkt00740::TfrmCriaComanda</name>
    <message>
        <source>Confirma a Abertura da Comanda?</source>
        <translation>Open this tab?</translation>
    </message>
    <message>
        <source>Código</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Nome do Garçom</source>
        <translation>Waiter name</translation>
    </message>
    <message>
        <source>Número</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Nome da Mesa</source>
        <translation>Table name</translation>
    </message>
</context>
<context>
    <name>ServerWait</name>
    <message>
        <source>O servidor do banco de dados da loja não respondeu em %1 segundos. Tente novamente.</source>
        <translation>The store&apos;s database server did not answer within %1 seconds. Please try again.</translation>
    </message>
</context>
<context>
    <name>TfrmCriaComanda</name>
    <message>
        <source>Informações Gerais da Comanda</source>
        <translation>Tab details</translation>
    </message>
    <message>
        <source>Informe o consumidor</source>
        <translation>Enter the guest</translation>
    </message>
    <message>
        <source>(Digite o Código, Nr. Crachá, CPF, Identidade ou Cód. Externo)</source>
        <translation>(Code, badge no., CPF, ID or external code)</translation>
    </message>
    <message>
        <source>Pesquisar consumidor (Alt+C)</source>
        <translation>Search guest (Alt+C)</translation>
    </message>
    <message>
        <source>Alt + T (Teclado)</source>
        <translation>Alt + T (Keypad)</translation>
    </message>
    <message>
        <source>Alterar Dados Consumidor (Alt + P)</source>
        <translation>Edit guest details (Alt + P)</translation>
    </message>
    <message>
        <source>Informe o garçom</source>
        <translation>Enter the waiter</translation>
    </message>
    <message>
        <source>Pesquisar garçom (Alt + G)</source>
        <translation>Search waiter (Alt + G)</translation>
    </message>
    <message>
        <source>Informe o número da mesa</source>
        <translation>Enter the table number</translation>
    </message>
    <message>
        <source>Pesquisar mesa (Alt + M)</source>
        <translation>Search table (Alt + M)</translation>
    </message>
    <message>
        <source>Concluir Pedido</source>
        <translation>Finish order</translation>
    </message>
    <message>
        <source>Garçom não cadastrado.</source>
        <comment>Vendedor_NCad</comment>
        <translation>Waiter not registered.</translation>
    </message>
    <message>
        <source>Garçom não informado.</source>
        <comment>Vendedor_NInf</comment>
        <translation>No waiter entered.</translation>
    </message>
    <message>
        <source>Digite o código do garçom.</source>
        <comment>Cod_Vend</comment>
        <translation>Type the waiter code.</translation>
    </message>
    <message>
        <source>Digite o código da mesa.</source>
        <comment>Cod_Mesa</comment>
        <translation>Type the table code.</translation>
    </message>
    <message>
        <source>Mesa não informada.</source>
        <comment>Mesa_Ninf</comment>
        <translation>No table entered.</translation>
    </message>
    <message>
        <source>Mesa não cadastrada.</source>
        <comment>Mesa_Ncad</comment>
        <translation>Table not registered.</translation>
    </message>
    <message>
        <source>Digite o código do consumidor.</source>
        <comment>Cod_Cons</comment>
        <translation>Type the guest code.</translation>
    </message>
    <message>
        <source>Consumidor não informado.</source>
        <comment>Cons_Ninf</comment>
        <translation>No guest entered.</translation>
    </message>
    <message>
        <source>Consumidor não cadastrado.</source>
        <comment>Cons_NCad</comment>
        <translation>Guest not registered.</translation>
    </message>
    <message>
        <source>Consumidor não cadastrado.Deseja cadastrar ?</source>
        <comment>ConsNCad</comment>
        <translation>Guest not registered. Register now?</translation>
    </message>
    <message>
        <source>Informa consumidor na comanda.</source>
        <comment>Consum_Coman</comment>
        <translation>Enter the guest of the tab.</translation>
    </message>
    <message>
        <source>Informação do Garçom.</source>
        <comment>Inf_garcon</comment>
        <translation>Waiter.</translation>
    </message>
    <message>
        <source>Garçom não cadastrado ou operador vinculado não está ativo.</source>
        <comment>Gar_N_Cad</comment>
        <translation>Waiter not registered, or the linked operator is not active.</translation>
    </message>
    <message>
        <source>Garçom não está associado a filial.</source>
        <comment>Vend_N_Filial</comment>
        <translation>The waiter is not linked to this branch.</translation>
    </message>
    <message>
        <source>Garçom não está associado ao caixa.</source>
        <comment>Vend_N_Caixa</comment>
        <translation>The waiter is not linked to this till.</translation>
    </message>
    <message>
        <source>Garçom não possui operador associado.</source>
        <comment>Gar_N_Assoc</comment>
        <translation>The waiter has no linked operator.</translation>
    </message>
    <message>
        <source>Operador não está associado a filial.</source>
        <comment>Ope_N_Assoc</comment>
        <translation>The operator is not linked to this branch.</translation>
    </message>
    <message>
        <source>Informação da Mesa</source>
        <comment>Inf_Mesa</comment>
        <translation>Table</translation>
    </message>
    <message>
        <source>Informação do Consumidor</source>
        <comment>Inf_Cons</comment>
        <translation>Guest</translation>
    </message>
    <message>
        <source>Digite o código do consumidor</source>
        <comment>Cod_Cons</comment>
        <translation>Type the guest code</translation>
    </message>
    <message>
        <source>Operação bloqueada. Arquivo referente ao cadastro de consumidor não encontrado.</source>
        <comment>Ope_N_Cons</comment>
        <translation>Operation blocked. The guest register file was not found.</translation>
    </message>
    <message>
        <source>Abertura de Comanda</source>
        <comment>inc_comanda</comment>
        <translation>Open tab</translation>
    </message>
    <message>
        <source>Informaçoes da Comanda</source>
        <comment>inf_comanda</comment>
        <translation>Tab details</translation>
    </message>
    <message>
        <source>Deseja realizar a venda para este crachá bloqueado?</source>
        <comment>CRACHA_BLOQ</comment>
        <translation>Sell to this blocked badge?</translation>
    </message>
    <message>
        <source>Operação bloqueada. Consumidor inativo, favor verificar parametrização no sistema gestão de vendas.</source>
        <comment>Escopo_KLNB</comment>
        <translation>Operation blocked. Inactive guest: check the settings in the sales management system.</translation>
    </message>
    <message>
        <source>Operação bloqueada. A mesa está ocupada no modo de venda mesa. Ela precisa ser fechada para poder ser associada a uma comanda.</source>
        <comment>Mesa_Uso</comment>
        <translation>Operation blocked. The table is taken in table-sale mode. It must be closed before it can be linked to a tab.</translation>
    </message>
</context>
</TS>
